#include "app/AppMessages.h"
#include "app/ProgramValues.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace {

class AppMessagesTest : public ::testing::Test {
 protected:
  ScriptedDesktopServices desktop;
  ProgramValues pv{desktop, QDBusConnection(QString())};
};

TEST_F(AppMessagesTest, EachBoxHasItsExactTitleTextAndStyle) {
  struct Row {
    int number;
    const char* title;
    const char* text;
  };
  const Row rows[] = {
      {1, "Penlark Error",
       "An error has occured while trying to select an Organizer search index.\n\r\n\r"
       "Close Penlark and Organizer and try again."},
      {2, "Penlark Error",
       "There is an inconsistency in the PENLARK.INI file.\n\r\n\rDeleting this file is recommended,"},
      {4, "Blank Address Profile",
       "No Address Profile has been selected.\n\r\n\rPlease select an Address Profile."},
      {5, "Address Data Change Detected",
       "The Organizer address data has changed.\n\r\n\rPlease search for the addressee again to "
       "ensure you are using the most current address data."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.number);
    desktop.boxes.clear();
    desktop.SetMousePointer(Pointer::Hourglass);
    ShowAppError(pv, row.number);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, QString::fromLatin1(row.title));
    EXPECT_EQ(desktop.boxes[0].text.toStdString(), row.text);
    EXPECT_EQ(desktop.boxes[0].style, 48);
    EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Default);
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
  }
  EXPECT_TRUE(desktop.formsShown.empty());
}

TEST_F(AppMessagesTest, NumberThreeShowsTheAccessErrorWindowAndNoBox) {
  desktop.SetMousePointer(Pointer::Hourglass);
  int pointerWhileShown = -1;
  desktop.OnForm(QStringLiteral("frmError1"), [&](QDialog& form) {
    pointerWhileShown = desktop.MousePointer();
    form.accept();
  });
  ShowAppError(pv, 3);
  EXPECT_TRUE(desktop.boxes.empty());
  ASSERT_EQ(desktop.formsShown.size(), 1u);
  EXPECT_EQ(desktop.formsShown[0], QStringLiteral("frmError1"));
  EXPECT_EQ(pointerWhileShown, Pointer::Default);
  EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
  EXPECT_EQ(FindAppMessage(3), nullptr);
}

}  // namespace
