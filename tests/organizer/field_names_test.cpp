#include "organizer/FieldNames.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldNamesTest, EveryDisplayNameGivesItsItemAndAnyOtherComesBackUnchanged) {
  // The display names pair with the contract's item list by position: a row from its start,
  // middle and end catches a shift, the irregular ones a wrong spelling.
  const std::pair<const char*, const char*> rows[] = {
      {"First Name", "FirstName"}, {"Business/Telephone 2", "Business Tel2"}, {"Business/Email", "E-mail"},
      {"Spouse", "Spouse"}, {"Home/Unused 2", "Home-Unused2"},
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
