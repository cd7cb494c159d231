// penlark-profile-cycler PENLARK.INI: takes one step of the cycle (CycleOnce) after another
// until it is killed, each finished step one line on standard output. A failed write ends
// it with status 1.

#include "CycledProfile.h"

#include "scripted/ScriptedDesktopServices.h"

#include <cstdio>

#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: penlark-profile-cycler PENLARK.INI\n");
    return 2;
  }
  ScriptedDesktopServices desktop;
  ProgramValues pv(desktop, QDBusConnection(QString()));
  pv.ConfigFilePath = QString::fromLocal8Bit(argv[1]);
  for (;;) {
    const std::string line = CycleOnce(pv) + '\n';
    // One write(2) a line, so a kill never leaves half a line.
    if (line.size() == 1 || ::write(STDOUT_FILENO, line.data(), line.size()) < 0) return 1;
  }
}
