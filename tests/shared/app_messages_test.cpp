#include "scripted/ScriptedDesktopServices.h"
#include "shared/AppMessages.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace {

// What each number shows, from an hourglass: its box ("title|style|pointer") or the
// access-error window with its pointer, then the pointer left after it. Each box's text is
// checked where it is shown: 1 by the search, 2 by the profile editor, 4 and 5 by the
// transfer.
TEST(AppMessagesTest, EachNumberShowsItsBoxOrTheAccessErrorWindowWithTheArrow) {
  ScriptedDesktopServices desktop;
  QStringList shown;
  desktop.OnForm(QStringLiteral("frmError1"), [&](QDialog& form) {
    shown << QStringLiteral("frmError1|") + QString::number(desktop.MousePointer());
    form.accept();
  });
  for (int number = 1; number <= 5; ++number) {
    desktop.SetMousePointer(Pointer::Hourglass);
    ShowAppError(desktop, number);
    for (const auto& box : desktop.boxes) shown << QStringLiteral("%1|%2|%3").arg(box.title).arg(box.style).arg(box.pointer);
    desktop.boxes.clear();
    shown << QString::number(desktop.MousePointer());
  }
  EXPECT_EQ(shown.join(u'#'), QStringLiteral("Penlark Error|48|0#0#Penlark Error|48|0#0#frmError1|0#0#Blank Address "
                                             "Profile|48|0#0#Address Data Change Detected|48|0#0"));
}

}  // namespace
