#include "organizer/FieldNames.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldNamesTest, EveryDisplayNameGivesItsItemAndAnyOtherComesBackUnchanged) {
  const std::pair<const char*, const char*> rows[] = {
      {"First Name", "FirstName"}, {"Last Name", "LastName"}, {"Business/Title", "Title"},
      {"Business/Position", "Position"}, {"Business/Company", "Company"}, {"Business/Address", "Address"},
      {"Business/City", "City"}, {"Business/State", "State"}, {"Business/Zip", "Zip"},
      {"Business/Country", "Country"}, {"Business/Phone", "Phone"}, {"Business/Extn", "Extn"},
      {"Business/Fax", "Fax"}, {"Business/Telephone 2", "Business Tel2"}, {"Business/Assistant", "Assistant"},
      {"Business/Email", "E-mail"}, {"Home/Address", "Home-Address"}, {"Home/City", "Home-City"},
      {"Home/State", "Home-State"}, {"Home/Zip", "Home-Zip"}, {"Home/Country", "Home-Country"},
      {"Home/Phone", "Home-Phone"}, {"Home/Extn", "Home-Extn"}, {"Home/Fax", "Home-Fax"},
      {"Home/Email", "Home-Email"}, {"Home/Unused 1", "Home-Unused1"}, {"Home/Unused 2", "Home-Unused2"},
      // Not a display name: given back as it is.
      {"(-None-)", "(-None-)"}, {"business/title", "business/title"}, {" First Name", " First Name"},
      {"Business/Title ", "Business/Title "}, {"Home/Unused1", "Home/Unused1"}, {"", ""},
  };
  for (const auto& [display, item] : rows) {
    SCOPED_TRACE(display);
    EXPECT_EQ(MapOrganizerFieldName(QString::fromLatin1(display)), QLatin1String(item));
  }
}

}  // namespace
