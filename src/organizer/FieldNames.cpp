#include "organizer/FieldNames.h"

#include "contract/AddressBookItems.h"

#include <iterator>

namespace {
// After "(-None-)", one display name per address-book item, in the item list's order.
constexpr const char* kDisplayNames[] = {
    "(-None-)",
    "First Name",
    "Last Name",
    "Business/Title",
    "Business/Position",
    "Business/Company",
    "Business/Address",
    "Business/City",
    "Business/State",
    "Business/Zip",
    "Business/Country",
    "Business/Phone",
    "Business/Extn",
    "Business/Fax",
    "Business/Telephone 2",
    "Business/Assistant",
    "Business/Email",
    "Spouse",
    "Home/Address",
    "Home/City",
    "Home/State",
    "Home/Zip",
    "Home/Country",
    "Home/Phone",
    "Home/Extn",
    "Home/Fax",
    "Home/Email",
    "Home/Unused 1",
    "Home/Unused 2",
};
static_assert(std::size(kDisplayNames) == kFieldDisplayNameCount);
static_assert(std::size(kAddressBookItems) + 1 == kFieldDisplayNameCount);
}  // namespace

QString FieldDisplayName(int index) { return QString::fromLatin1(kDisplayNames[index]); }

QString MapOrganizerFieldName(const QString& displayName) {
  for (int i = 1; i < kFieldDisplayNameCount; ++i)
    if (displayName == QLatin1String(kDisplayNames[i])) {
      const std::string_view item = kAddressBookItems[i - 1];
      return QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size()));
    }
  return displayName;
}
