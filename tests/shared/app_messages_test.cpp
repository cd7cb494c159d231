#include "scripted/ScriptedDesktopServices.h"
#include "shared/AppMessages.h"
#include "shared/frmError1.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

namespace {

// What each number shows, from an hourglass: its box ("title|style|pointer") or the
// access-error window's texts and the pointer while it is open, then the pointer left after
// it. Each box's text is checked where it is shown: 1 by the search, 2 by the profile
// editor, 4 and 5 by the transfer. The window's keys and focus: tests/e2e.
TEST(AppMessagesTest, EachNumberShowsItsBoxOrTheAccessErrorWindowWithTheArrow) {
  ScriptedDesktopServices desktop;
  QStringList shown;
  desktop.OnForm(QStringLiteral("frmError1"), [&](QDialog& form) {
    const frmError1& e = static_cast<frmError1&>(form);
    EXPECT_TRUE(e.Label1->font().bold());
    shown << QStringList({e.windowTitle(), e.Label1->text(), e.Label2->text(), e.Label3->text(), e.Label4->text(),
                          e.cmdOK->text(), QString::number(desktop.MousePointer())}).join(u'|');
    e.cmdOK->click();
  });
  for (int number = 1; number <= 5; ++number) {
    desktop.SetMousePointer(Pointer::Hourglass);
    ShowAppError(desktop, number);
    for (const auto& box : desktop.boxes) shown << QStringLiteral("%1|%2|%3").arg(box.title).arg(box.style).arg(box.pointer);
    desktop.boxes.clear();
    shown << QString::number(desktop.MousePointer());
  }
  EXPECT_EQ(shown.join(u'#'), QStringLiteral(
      "Penlark Error|48|0#0#Penlark Error|48|0#0#Penlark Error|Penlark is unable to access the selected Organizer "
      "data file.|Check:|The path to your Organizer data file is correctly entered in the File Path field of the "
      "Options screen|Organizer is running with the data file entered in the File Path of the Options screen "
      "loaded.|&OK|0#0#Blank Address Profile|48|0#0#Address Data Change Detected|48|0#0"));
}

}  // namespace
