#pragma once

#include "profiles/ProfileRows.h"

// The profile that penlark-profile-cycler saves as "Gen <generation>": every value names
// its row and the generation, so a file holding rows of two generations shows it.
inline ProfileRows CycledRows(int generation) {
  ProfileRows rows;
  for (int r = 0; r < kProfileRows; ++r) {
    const QString tag = QStringLiteral("%1-%2").arg(r).arg(generation);
    rows[r] = {QStringLiteral("B") + tag, QStringLiteral("F") + tag, QStringLiteral("S") + tag};
  }
  return rows;
}

inline QString CycledName(int generation) { return QStringLiteral("Gen %1").arg(generation); }
