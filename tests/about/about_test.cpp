#include "about/VersionText.h"
#include "about/frmDeveloper.h"
#include "platform/Screenshot.h"
#include "platform/ScriptedDesktopServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

TEST(VersionTextTest, JoinsTheThreeNumbersWithoutPadding) {
  EXPECT_EQ(ProgramVersionText(), QStringLiteral("4.1.3"));
  EXPECT_EQ(VersionText(4, 1, 0), QStringLiteral("4.1.0"));
  EXPECT_EQ(VersionText(12, 0, 105), QStringLiteral("12.0.105"));
}

TEST(frmDeveloperTest, ShowsTheVersionOnGreyDrawsItsPicturesAndEnterCloses) {
  frmDeveloper form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("About Penlark"));
  EXPECT_EQ(form.lblVersion->text(), QStringLiteral("Version:"));
  EXPECT_EQ(form.txtVersion->text(), QStringLiteral("4.1.3"));
  EXPECT_EQ(form.cmdClose->text(), QStringLiteral("&Close"));
  EXPECT_TRUE(form.txtVersion->isReadOnly());
  EXPECT_EQ(form.txtVersion->palette().color(QPalette::Base), form.palette().color(QPalette::Window));
  EXPECT_TRUE(form.txtWebURL->isReadOnly());
  EXPECT_EQ(form.txtWebURL->palette().color(QPalette::Base).alpha(), 0);  // the frame's grey

  Screenshot(form);
  EXPECT_FALSE(form.imgLogo->pixmap().isNull());
  EXPECT_FALSE(form.imgContact->pixmap().isNull());
  form.hide();

  ScriptedDesktopServices desktop;
  desktop.OnForm(QStringLiteral("frmDeveloper"), [](QDialog& shown) {
    QTest::keyClick(shown.focusWidget() ? shown.focusWidget() : &shown, Qt::Key_Return);
  });
  desktop.ShowModal(form);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

}  // namespace
