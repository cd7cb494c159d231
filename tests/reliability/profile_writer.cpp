// penlark-profile-writer PENLARK.INI NAME OTHER COUNT: writes key NAME of [Writers] COUNT
// times, the numbers 1 to COUNT, as fast as it can, while another copy writes OTHER. After
// each write the file must read back whole: NAME holding the number just written, OTHER no
// smaller than when last read (writers only count up, so a torn or stale file shows as a
// step back).
// penlark-profile-writer PENLARK.INI --cycle: takes one step of the profile cycle
// (CycleOnce) after another until it is killed, each finished step one line on standard
// output.
// The first fault ends it with status 1 and the reason on standard error.

#include "CycledProfile.h"

#include "profilefile/ProfileFile.h"
#include "scripted/ScriptedDesktopServices.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
  const auto fail = [](const std::string& why) { return std::fprintf(stderr, "%s\n", why.c_str()), 1; };
  if (argc == 3 && argv[2] == std::string("--cycle")) {
    ScriptedDesktopServices desktop;
    ProgramValues pv(desktop, QDBusConnection(QString()));
    pv.ConfigFilePath = QString::fromLocal8Bit(argv[1]);
    for (;;) {
      const std::string line = CycleOnce(pv) + '\n';
      // One write(2) a line, so a kill never leaves half a line.
      if (line.size() == 1 || ::write(STDOUT_FILENO, line.data(), line.size()) < 0) return fail("a step failed");
    }
  }
  if (argc != 5) return fail("usage: penlark-profile-writer PENLARK.INI (NAME OTHER COUNT | --cycle)");
  const std::string file = argv[1], name = argv[2], other = argv[3];
  const int count = std::atoi(argv[4]);
  int otherSeen = 0;
  for (int n = 1; n <= count; ++n) {
    const ProfileWriteResult written = WritePrivateProfileString("Writers", name, std::to_string(n), file);
    if (!written.ok) return fail("write " + std::to_string(n) + " failed: " + written.reason);
    if (GetPrivateProfileInt("Writers", name, -1, file) != n)
      return fail("write " + std::to_string(n) + " is lost: " + GetPrivateProfileString("Writers", name, "", file));
    const int seen = GetPrivateProfileInt("Writers", other, 0, file);
    if (seen < otherSeen)
      return fail(other + " went back from " + std::to_string(otherSeen) + " to " + std::to_string(seen));
    otherSeen = seen;
  }
  return 0;
}
