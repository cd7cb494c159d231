#pragma once

#include <QString>

class QComboBox;

// The profile index: section "Address Profiles" of the configuration file, key n
// (0 to 31) holding the name of the profile in slot n or "(-Deleted-)" for a freed slot.
// Every call reads the file afresh.

constexpr int kNoProfileSlot = 99;
constexpr int kProfileSlots = 32;
inline const QString kDeletedProfile = QStringLiteral("(-Deleted-)");

// Clears the box (no entries, no selection, empty text), then appends the names of
// slots 0, 1, ... in order, skipping "(-Deleted-)" and stopping at the first key that is
// missing or empty. The filled box has no selection and an empty text.
void FillProfileList(QComboBox& box, const QString& configFile);

// The slot whose stored name equals the name trimmed of blanks at both ends, compared
// exactly and case-sensitively; kNoProfileSlot when there is none before the first
// missing or empty key.
int FindProfileIndex(const QString& configFile, const QString& name);

// The lowest slot that is "(-Deleted-)", missing or empty; kNoProfileSlot when all 32
// hold names.
int NextFreeProfileIndex(const QString& configFile);
