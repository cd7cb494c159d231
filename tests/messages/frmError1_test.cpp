#include "organizer/frmError1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

// With PENLARK_SCREENSHOT_DIR set, the window's picture is left there for a person to judge.
TEST(frmError1Test, FixedTextsAndOkAloneTakesTheFocusAndCloses) {
  frmError1 form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Penlark Error"));
  EXPECT_TRUE(form.Label1->font().bold());
  const QString texts[] = {
      form.Label1->text(), form.Label2->text(), form.Label3->text(), form.Label4->text()};
  const char* expected[] = {
      "Penlark is unable to access the selected Organizer data file.", "Check:",
      "The path to your Organizer data file is correctly entered in the File Path field of the "
      "Options screen",
      "Organizer is running with the data file entered in the File Path of the Options screen loaded."};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(texts[i].toStdString(), expected[i]);
  EXPECT_EQ(form.cmdOK->text(), QStringLiteral("&OK"));

  form.show();
  QApplication::processEvents();
  for (QWidget* child : form.findChildren<QWidget*>()) {
    SCOPED_TRACE(child->objectName().toStdString());
    EXPECT_EQ(child->focusPolicy() != Qt::NoFocus, child == form.cmdOK);
  }
  EXPECT_LE(std::abs(form.cmdOK->geometry().center().x() - form.width() / 2), 2);
  const QPixmap picture = form.grab();
  ASSERT_FALSE(picture.isNull());
  const QString folder = qEnvironmentVariable("PENLARK_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(picture.save(folder + QStringLiteral("/frmError1.png")));
  }

  form.cmdOK->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

}  // namespace
