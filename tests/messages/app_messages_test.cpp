#include "app/AppMessages.h"
#include "app/ProgramValues.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace {

TEST(AppMessagesTest, EachNumberShowsItsBoxOrTheAccessErrorWindowWithTheArrow) {
  ScriptedDesktopServices desktop;
  ProgramValues pv{desktop, QDBusConnection(QString())};
  struct Row {
    int number;
    const char *title, *text;  // no title: the frmError1 window, no box
  } rows[] = {
      {1, "Penlark Error",
       "An error has occured while trying to select an Organizer search index.\n\r\n\r"
       "Close Penlark and Organizer and try again."},
      {2, "Penlark Error",
       "There is an inconsistency in the PENLARK.INI file.\n\r\n\rDeleting this file is recommended,"},
      {3, nullptr, nullptr},
      {4, "Blank Address Profile",
       "No Address Profile has been selected.\n\r\n\rPlease select an Address Profile."},
      {5, "Address Data Change Detected",
       "The Organizer address data has changed.\n\r\n\rPlease search for the addressee again to "
       "ensure you are using the most current address data."},
  };
  int pointerInWindow = -1;
  desktop.OnForm(QStringLiteral("frmError1"), [&](QDialog& form) {
    pointerInWindow = desktop.MousePointer();
    form.accept();
  });
  for (const Row& row : rows) {
    SCOPED_TRACE(row.number);
    desktop.boxes.clear();
    desktop.SetMousePointer(Pointer::Hourglass);
    ShowAppError(pv, row.number);
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    ASSERT_EQ(desktop.boxes.size(), row.title ? 1u : 0u);
    if (!row.title) continue;
    EXPECT_EQ(desktop.boxes[0].title, QString::fromLatin1(row.title));
    EXPECT_EQ(desktop.boxes[0].text.toStdString(), row.text);
    EXPECT_EQ(desktop.boxes[0].style, 48);
    EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Default);
  }
  EXPECT_EQ(desktop.formsShown, std::vector<QString>{QStringLiteral("frmError1")});
  EXPECT_EQ(pointerInWindow, Pointer::Default);
}

}  // namespace
