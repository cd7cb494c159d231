#include "about/frmDeveloper.h"
#include "platform/Screenshot.h"
#include "scripted/ScriptedDesktopServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

TEST(frmDeveloperTest, ShowsTheVersionOnGreyDrawsItsPicturesAndEnterCloses) {
  frmDeveloper form;
  EXPECT_EQ(form.windowTitle() + form.lblVersion->text() + form.txtVersion->text() + form.cmdClose->text(),
            QStringLiteral("About PenlarkVersion:4.1.3&Close"));
  EXPECT_TRUE(form.txtVersion->isReadOnly() && form.txtWebURL->isReadOnly());
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
