#include "about/VersionText.h"
#include "about/frmDeveloper.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

namespace {

TEST(VersionTextTest, JoinsTheThreeNumbersWithoutPaddingOrOmission) {
  struct Row {
    int major, minor, revision;
    const char* text;
  };
  for (const Row& row : {Row{4, 1, 3, "4.1.3"}, Row{4, 1, 0, "4.1.0"}, Row{4, 10, 3, "4.10.3"},
                         Row{12, 0, 105, "12.0.105"}}) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(VersionText(row.major, row.minor, row.revision), QString::fromLatin1(row.text));
  }
  EXPECT_EQ(ProgramVersionText(), QStringLiteral("4.1.3"));
}

TEST(frmDeveloperTest, ShowsTheVersionOnGreyAndEnterCloses) {
  ScriptedDesktopServices desktop;
  frmDeveloper form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("About Penlark"));
  EXPECT_EQ(form.lblVersion->text(), QStringLiteral("Version:"));
  EXPECT_EQ(form.txtVersion->text(), QStringLiteral("4.1.3"));
  EXPECT_TRUE(form.txtVersion->isReadOnly());
  EXPECT_EQ(form.txtVersion->palette().color(QPalette::Base), form.palette().color(QPalette::Window));
  EXPECT_TRUE(form.txtWebURL->isReadOnly());
  EXPECT_EQ(form.txtWebURL->palette().color(QPalette::Base).alpha(), 0);  // the frame's grey
  EXPECT_EQ(form.cmdClose->text(), QStringLiteral("&Close"));

  desktop.OnForm(QStringLiteral("frmDeveloper"), [](QDialog& shown) {
    QTest::keyClick(shown.focusWidget() ? shown.focusWidget() : &shown, Qt::Key_Return);
  });
  desktop.ShowModal(form);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(frmDeveloperTest, DrawsItsPictures) {
  frmDeveloper form;
  form.show();
  QApplication::processEvents();
  const QPixmap picture = form.grab();
  ASSERT_FALSE(picture.isNull());
  // The logo is drawn, not blank.
  const QImage logo = form.imgLogo->pixmap().toImage();
  QSet<QRgb> colours;
  for (int y = 0; y < logo.height(); y += 3)
    for (int x = 0; x < logo.width(); x += 3) colours.insert(logo.pixel(x, y));
  EXPECT_GT(colours.size(), 20);
  EXPECT_FALSE(form.imgContact->pixmap().isNull());
  const QString folder = qEnvironmentVariable("PENLARK_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(picture.save(folder + QStringLiteral("/frmDeveloper.png")));
  }
}

}  // namespace
