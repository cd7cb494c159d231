#pragma once

#include <QString>

#include <array>

class DesktopServices;
struct ProgramValues;

// The twelve rows of an Address Profile, kept in section "Profile <slot>" of the
// configuration file under the keys "Bookmark n", "Field n" and "Separator n" (n = 0 to 11).
// Fields are display names; separators are stored encoded ("_" blank, "¶" paragraph
// break, "»" tab), exactly as the editor shows them.

struct ProfileRow {
  QString bookmark;
  QString field;  // "" when nothing is stored
  QString separator;
};

constexpr int kProfileRows = 12;
using ProfileRows = std::array<ProfileRow, kProfileRows>;
inline const QString kNoField = QStringLiteral("(-None-)");

// The marks a stored separator writes a blank, a paragraph break and a tab with.
constexpr char16_t kBlankMark = u'_';
constexpr char16_t kParagraphMark = u'\u00B6';
constexpr char16_t kTabMark = u'\u00BB';

// The rows stored for the slot, values whole; missing values are empty.
ProfileRows ReadProfileRows(const QString& configFile, int slot);

// The rows with a field (anything but "(-None-)") must be at least one and form an
// unbroken run from the first row. When they do not, the reason is told in an
// information box (style 64) naming the highest-numbered offending row, and false
// returned.
bool CheckProfileRows(DesktopServices& desktop, const ProfileRows& rows);

// Writes name under key slot of "Address Profiles", then all 36 row keys in row order
// (Bookmark, Field, Separator), empty values included, so nothing of an earlier profile
// in the slot survives. All in one replacement of the file, so a crash or a failure never
// leaves a mixture of the old profile and the new; a failure has told the user and gives
// false.
bool WriteProfile(ProgramValues& pv, int slot, const QString& name, const ProfileRows& rows);
