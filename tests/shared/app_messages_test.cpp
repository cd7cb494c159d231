#include "support/Shown.h"

#include "shared/AppMessages.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace {

// What each number shows ("title|text|style|pointer" or the window with its pointer),
// then the pointer left after it.
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
    shown << Shown(desktop, true);
    desktop.boxes.clear();
    shown << QString::number(desktop.MousePointer());
  }
  EXPECT_EQ(shown.join(u'#').toStdString(),
            "Penlark Error|An error has occured while trying to select an Organizer search index.\n\r\n\rClose "
            "Penlark and Organizer and try again.|48|0#0#Penlark Error|There is an inconsistency in the PENLARK.INI "
            "file.\n\r\n\rDeleting this file is recommended,|48|0#0#frmError1|0#0#Blank Address Profile|No Address "
            "Profile has been selected.\n\r\n\rPlease select an Address Profile.|48|0#0#Address Data Change "
            "Detected|The Organizer address data has changed.\n\r\n\rPlease search for the addressee again to "
            "ensure you are using the most current address data.|48|0#0");
}

}  // namespace
