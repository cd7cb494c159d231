#pragma once

#include <QString>

// The sections and keys of PENLARK.INI that more than one procedure reads or writes.
namespace ConfigKeys {
inline const QString Options = QStringLiteral("Options");
inline const QString OrganizerFilePath = QStringLiteral("Organizer File Path");
inline const QString AddressSection = QStringLiteral("Organizer Address Section");
inline const QString SkipBlankFields = QStringLiteral("Skip Blank Fields");

inline const QString RecentSettings = QStringLiteral("Recent Settings");
inline const QString RecentSearchBy = QStringLiteral("Search By");
inline const QString RecentProfile = QStringLiteral("Address Profile");

// Key n (0 to 31) holds the name of the profile in slot n.
inline const QString ProfileIndex = QStringLiteral("Address Profiles");
}  // namespace ConfigKeys
