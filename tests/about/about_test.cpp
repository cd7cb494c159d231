#include "about/frmDeveloper.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Its keys, its focus and how it looks: tests/e2e (PenlarkWindows.AboutBox).
TEST(frmDeveloperTest, ShowsTheVersionInReadOnlyBoxesAndDrawsItsPictures) {
  frmDeveloper form;
  EXPECT_EQ(form.windowTitle() + form.lblVersion->text() + form.txtVersion->text() + form.cmdClose->text(),
            QStringLiteral("About PenlarkVersion:4.1.3&Close"));
  EXPECT_TRUE(form.txtVersion->isReadOnly() && form.txtWebURL->isReadOnly());
  EXPECT_FALSE(form.imgLogo->pixmap().isNull() || form.imgContact->pixmap().isNull());
}

}  // namespace
