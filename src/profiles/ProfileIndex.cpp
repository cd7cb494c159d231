#include "profiles/ProfileIndex.h"

#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace {
QString ReadSlotName(const QString& configFile, int slot) {
  return ReadConfigString(configFile, ConfigKeys::ProfileIndex, QString::number(slot));
}

// Only blanks are trimmed, not other white space: a stored name is letters and blanks.
QString TrimBlanks(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == u' ') ++first;
  while (last > first && text[last - 1] == u' ') --last;
  return text.mid(first, last - first);
}
}  // namespace

void FillProfileList(QComboBox& box, const QString& configFile) {
  box.clear();
  {
    // A combo box selects the first entry added to it; the filled list has no selection,
    // so the watchers of the box see only the end state.
    const QSignalBlocker quiet(box);
    for (int slot = 0; slot < kProfileSlots; ++slot) {
      const QString name = ReadSlotName(configFile, slot);
      if (name.isEmpty()) break;
      if (name == kDeletedProfile) continue;
      box.addItem(name);
    }
  }
  box.setCurrentIndex(-1);
  if (box.isEditable()) box.clearEditText();
}

int FindProfileIndex(const QString& configFile, const QString& name) {
  const QString target = TrimBlanks(name);
  for (int slot = 0; slot < kProfileSlots; ++slot) {
    const QString stored = ReadSlotName(configFile, slot);
    if (stored.isEmpty()) return kNoProfileSlot;
    if (stored == target) return slot;
  }
  return kNoProfileSlot;
}

int NextFreeProfileIndex(const QString& configFile) {
  for (int slot = 0; slot < kProfileSlots; ++slot) {
    if (ReadSlotName(configFile, slot) == kDeletedProfile) return slot;
    // A stored name reads as 0; only a missing or empty value gives the default back.
    if (ReadConfigInt(configFile, ConfigKeys::ProfileIndex, QString::number(slot),
                      kNoProfileSlot) == kNoProfileSlot)
      return slot;
  }
  return kNoProfileSlot;
}
