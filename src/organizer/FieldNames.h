#pragma once

#include <QString>

// The address book's item name for a profile field's display name ("Business/Email" ->
// "E-mail"); any name not in the table, "(-None-)" included, comes back unchanged. The
// comparison is exact: case-sensitive, no trimming.
QString MapOrganizerFieldName(const QString& displayName);
