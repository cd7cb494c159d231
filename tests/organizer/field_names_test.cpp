#include "organizer/FieldNames.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldNamesTest, EveryDisplayNameGivesItsItem) {
  const struct {
    const char* display;
    const char* item;
  } rows[] = {
      {"First Name", "FirstName"},
      {"Last Name", "LastName"},
      {"Business/Title", "Title"},
      {"Business/Position", "Position"},
      {"Business/Company", "Company"},
      {"Business/Address", "Address"},
      {"Business/City", "City"},
      {"Business/State", "State"},
      {"Business/Zip", "Zip"},
      {"Business/Country", "Country"},
      {"Business/Phone", "Phone"},
      {"Business/Extn", "Extn"},
      {"Business/Fax", "Fax"},
      {"Business/Telephone 2", "Business Tel2"},
      {"Business/Assistant", "Assistant"},
      {"Business/Email", "E-mail"},
      {"Home/Address", "Home-Address"},
      {"Home/City", "Home-City"},
      {"Home/State", "Home-State"},
      {"Home/Zip", "Home-Zip"},
      {"Home/Country", "Home-Country"},
      {"Home/Phone", "Home-Phone"},
      {"Home/Extn", "Home-Extn"},
      {"Home/Fax", "Home-Fax"},
      {"Home/Email", "Home-Email"},
      {"Home/Unused 1", "Home-Unused1"},
      {"Home/Unused 2", "Home-Unused2"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.display);
    EXPECT_EQ(MapOrganizerFieldName(QString::fromLatin1(row.display)), QLatin1String(row.item));
  }
}

TEST(FieldNamesTest, AnyOtherNameComesBackUnchanged) {
  for (const char* name : {"(-None-)", "business/title", "BUSINESS/EMAIL", "Home/email",
                           "Business/Title ", " First Name", "Home/Unused 1 ", "Home/Unused1",
                           "Business/E-mail", "Business/Telephone2", "Title", "FirstName",
                           "Spouse", ""}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(MapOrganizerFieldName(QString::fromLatin1(name)), QLatin1String(name));
  }
}

}  // namespace
