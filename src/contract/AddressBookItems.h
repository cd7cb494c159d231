#pragma once

#include <array>
#include <string_view>

// The 28 item names the address book answers a request for, one per field of a record,
// in the order the profile editor lists their display names.
inline constexpr std::array<std::string_view, 28> kAddressBookItems = {
    "FirstName",    "LastName",     "Title",         "Position",   "Company",
    "Address",      "City",         "State",         "Zip",        "Country",
    "Phone",        "Extn",         "Fax",           "Business Tel2", "Assistant",
    "E-mail",       "Spouse",       "Home-Address",  "Home-City",  "Home-State",
    "Home-Zip",     "Home-Country", "Home-Phone",    "Home-Extn",  "Home-Fax",
    "Home-Email",   "Home-Unused1", "Home-Unused2"};
