#include "organizer/frmError1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

TEST(frmError1Test, ShowsTheFixedTexts) {
  frmError1 form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Penlark Error"));
  EXPECT_EQ(form.Label1->text(),
            QStringLiteral("Penlark is unable to access the selected Organizer data file."));
  EXPECT_TRUE(form.Label1->font().bold());
  EXPECT_FALSE(form.Label2->font().bold());
  EXPECT_EQ(form.Label2->text(), QStringLiteral("Check:"));
  EXPECT_EQ(form.Label3->text(),
            QStringLiteral("The path to your Organizer data file is correctly entered in the File "
                           "Path field of the Options screen"));
  EXPECT_EQ(form.Label4->text(),
            QStringLiteral("Organizer is running with the data file entered in the File Path of the "
                           "Options screen loaded."));
  EXPECT_EQ(form.cmdOK->text(), QStringLiteral("&OK"));
}

TEST(frmError1Test, OkIsTheOnlyControlThatTakesTheFocusAndClosesIt) {
  frmError1 form;
  form.show();
  QApplication::processEvents();
  for (QWidget* child : form.findChildren<QWidget*>()) {
    SCOPED_TRACE(child->objectName().toStdString());
    EXPECT_EQ(child->focusPolicy() != Qt::NoFocus, child == form.cmdOK);
  }
  const QRect ok = form.cmdOK->geometry();
  EXPECT_LE(std::abs(ok.center().x() - form.width() / 2), 2);
  EXPECT_GT(ok.top(), form.Label4->geometry().bottom());

  form.cmdOK->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

// With PENLARK_SCREENSHOT_DIR set, the window's picture is left there for a person to judge.
TEST(frmError1Test, DrawsAPicture) {
  frmError1 form;
  form.show();
  QApplication::processEvents();
  const QPixmap picture = form.grab();
  ASSERT_FALSE(picture.isNull());
  EXPECT_GE(picture.height(), form.cmdOK->geometry().bottom());
  const QString folder = qEnvironmentVariable("PENLARK_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(picture.save(folder + QStringLiteral("/frmError1.png")));
  }
}

}  // namespace
