#pragma once

#include "support/ProgramFixture.h"

// The program with a configuration of the address book, its section and one profile
// "Letters" (first name, last name on one line, then the city on the next).
class AppFixture : public ProgramFixture {
 protected:
  void WriteConfiguration(const QString& dataFile) {
    Set("Options", "Organizer File Path", dataFile);
    Set("Options", "Organizer Address Section", QStringLiteral("Address"));
    Set("Address Profiles", "0", QStringLiteral("Letters"));
    const char* rows[][3] = {{"Name", "First Name", "_"}, {"", "Last Name", ""},
                             {"Town", "Business/City", ""}, {"", "(-None-)", ""}};
    for (int r = 0; r < 4; ++r) {
      const std::string n = std::to_string(r);
      Set("Profile 0", ("Bookmark " + n).c_str(), QString::fromUtf8(rows[r][0]));
      Set("Profile 0", ("Field " + n).c_str(), QString::fromUtf8(rows[r][1]));
      Set("Profile 0", ("Separator " + n).c_str(), QString::fromUtf8(rows[r][2]));
    }
  }
};
