#include "desktop/QtDesktopServices.h"

#include <gtest/gtest.h>

namespace {

// The activation that runs when the last dialog closes: app.MainWindowTest (the search rule)
// and e2e.PenlarkWindows.MainWindow (the profile box).
TEST(DesktopServicesTest, DisplayTextAndQtFilter) {
  EXPECT_EQ(QtDesktopServices::DisplayText("One.\n\r\n\rTwo.|\r\nA\rB\nC\n\r"), "One.\nTwo.|\nA\nB\nC\n");
  EXPECT_EQ(QtDesktopServices::QtFilter("Organizer 2 Data Files (*.or2)|*.or2|All Files|*.or2;*.or3|Dangling"),
            "Organizer 2 Data Files (*.or2);;All Files (*.or2 *.or3)");
}

}  // namespace
