#include "organizer/FieldNames.h"

#include <iterator>

namespace {
struct FieldName {
  const char* display;
  const char* item;  // the display name itself where the address book uses it unchanged
};

constexpr FieldName kFieldNames[] = {
    {"(-None-)", "(-None-)"},
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
    {"Spouse", "Spouse"},
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
static_assert(std::size(kFieldNames) == kFieldDisplayNameCount);
}  // namespace

QString FieldDisplayName(int index) { return QString::fromLatin1(kFieldNames[index].display); }

QString MapOrganizerFieldName(const QString& displayName) {
  for (const FieldName& row : kFieldNames)
    if (displayName == QLatin1String(row.display)) return QString::fromLatin1(row.item);
  return displayName;
}
