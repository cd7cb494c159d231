#pragma once

#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "profiles/ProfileIndex.h"
#include "profiles/ProfileRows.h"
#include "shared/ProgramValues.h"

#include <string>

// One step of penlark-profile-writer --cycle on the profile in slot 0, through the editor's
// own writes: a saved profile is marked "(-Deleted-)", else the next generation is saved as
// "Gen <generation>", every value naming its row and the generation. It carries on from
// whatever the file holds. Says "saved N" or "deleted N"; nothing when the write failed.
inline std::string CycleOnce(ProgramValues& pv) {
  const QString slot = QStringLiteral("0");
  int generation = ReadProfileRows(pv.ConfigFilePath, 0)[0].bookmark.section(u'-', 1).toInt();
  if (ReadConfigString(pv.ConfigFilePath, ConfigKeys::ProfileIndex, slot).startsWith(QStringLiteral("Gen "))) {
    if (!WriteConfigString(pv, ConfigKeys::ProfileIndex, slot, kDeletedProfile)) return {};
    return "deleted " + std::to_string(generation);
  }
  ++generation;
  ProfileRows rows;
  for (int r = 0; r < kProfileRows; ++r) {
    const QString tag = QStringLiteral("%1-%2").arg(r).arg(generation);
    rows[r] = {QStringLiteral("B") + tag, QStringLiteral("F") + tag, QStringLiteral("S") + tag};
  }
  if (!WriteProfile(pv, 0, QStringLiteral("Gen %1").arg(generation), rows)) return {};
  return "saved " + std::to_string(generation);
}
