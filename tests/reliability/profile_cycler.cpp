// penlark-profile-cycler PENLARK.INI: saves and deletes the profile in slot 0, over and
// over, through the profile editor's own writes (WriteProfile for a save, the
// "(-Deleted-)" mark for a delete), until it is killed. It carries on from whatever the
// file holds. Each finished step is one line on standard output: "saved N" or
// "deleted N", N the generation of the profile. A failed write ends it with status 1.

#include "CycledProfile.h"

#include "shared/ProgramValues.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "scripted/ScriptedDesktopServices.h"
#include "profiles/ProfileIndex.h"

#include <cstdio>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: penlark-profile-cycler PENLARK.INI\n");
    return 2;
  }
  ScriptedDesktopServices desktop;
  ProgramValues pv(desktop, QDBusConnection(QString()));
  pv.ConfigFilePath = QString::fromLocal8Bit(argv[1]);
  const QString slot = QStringLiteral("0");
  // One write(2) a line, so a kill never leaves half a line.
  const auto say = [](const std::string& line) { return ::write(STDOUT_FILENO, (line + '\n').data(), line.size() + 1); };
  for (;;) {
    const QString name = ReadConfigString(pv.ConfigFilePath, ConfigKeys::ProfileIndex, slot);
    int generation = ReadProfileRows(pv.ConfigFilePath, 0)[0].bookmark.section(u'-', 1).toInt();
    if (name.startsWith(QStringLiteral("Gen "))) {
      if (!WriteConfigString(pv, ConfigKeys::ProfileIndex, slot, kDeletedProfile)) return 1;
      say("deleted " + std::to_string(generation));
    } else {
      ++generation;
      if (!WriteProfile(pv, 0, CycledName(generation), CycledRows(generation))) return 1;
      say("saved " + std::to_string(generation));
    }
  }
}
