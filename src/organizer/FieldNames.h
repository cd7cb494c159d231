#pragma once

#include <QString>

// The display names of the fields a profile row can take, in the order the profile
// editor lists them: "(-None-)" first, then the 28 address-book fields.
constexpr int kFieldDisplayNameCount = 29;
QString FieldDisplayName(int index);  // index 0 to 28

// The address book's item name for a profile field's display name ("Business/Email" ->
// "E-mail"); "(-None-)", "Spouse" and any name that is not a display name come back
// unchanged. The comparison is exact: case-sensitive, no trimming.
QString MapOrganizerFieldName(const QString& displayName);
