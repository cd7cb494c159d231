#include "about/VersionText.h"
#include "about/frmDeveloper.h"
#include "platform/Screenshot.h"
#include "scripted/ScriptedDesktopServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

TEST(frmDeveloperTest, ShowsTheVersionOnGreyDrawsItsPicturesAndEnterCloses) {
  EXPECT_EQ(VersionText(12, 0, 105) + u'|' + VersionText(4, 1, 0), QStringLiteral("12.0.105|4.1.0"));
  frmDeveloper form;
  EXPECT_EQ(form.windowTitle() + form.lblVersion->text() + form.txtVersion->text() + form.cmdClose->text(),
            QStringLiteral("About PenlarkVersion:4.1.3&Close"));
  EXPECT_TRUE(form.txtVersion->isReadOnly() && form.txtWebURL->isReadOnly());
  EXPECT_EQ(form.txtVersion->palette().color(QPalette::Base), form.palette().color(QPalette::Window));
  EXPECT_EQ(form.txtWebURL->palette().color(QPalette::Base).alpha(), 0);  // the frame's grey
  Screenshot(form);
  EXPECT_FALSE(form.imgLogo->pixmap().isNull() || form.imgContact->pixmap().isNull());
  ScriptedDesktopServices desktop;
  desktop.OnForm(QStringLiteral("frmDeveloper"), [](QDialog& shown) {
    QTest::keyClick(shown.focusWidget() ? shown.focusWidget() : &shown, Qt::Key_Return);
  });
  desktop.ShowModal(form);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

}  // namespace
