#include "profiles/frmNewName.h"

#include "ProfileTestFile.h"

namespace {

using NewNameTest = ProfilesTest;

// Cancel, Enter and Esc: e2e.PenlarkWindows.NewNameWindow.
TEST_F(NewNameTest, NamesRefusedAndAccepted) {
  const QByteArray file = ProfileIndexFile({"Anna", "Bert"}) +
                          "[Profile 0]\nBookmark 0=Mark\nField 0=Last Name\nSeparator 0=_\n";
  const QString kept = QStringLiteral("Anna|&New|2111|1:Mark,Last Name,_");
  Run({
      {"blanks inside", file, "A b", {}, {}, "A b0", {"frmNewName"}, "A b|&Save|3001"},
      {"a digit", file, "Letter2", {}, {}, "1",
       {InvalidName("The name entered may only use characters \"A-Z\" and \"a-z\"."), "frmNewName"},
       kept},
      {"another case", file, "anna", {}, {}, "anna0", {"frmNewName"}, "anna|&Save|3001"},
      {"blanks around a stored name", file, "  Anna ", {}, {}, "1",
       {"Duplicate Address Profile Name|  Anna  is the name of an existing Address Profile.\r\n"
        "Please re-enter|48", "frmNewName"}, kept},
  });
}

}  // namespace
