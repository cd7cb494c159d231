// penlark-profile-writer PENLARK.INI NAME OTHER COUNT: writes key NAME of [Writers] COUNT
// times, the numbers 1 to COUNT, as fast as it can, while another copy writes OTHER. After
// each write the file must read back whole: NAME holding the number just written, OTHER no
// smaller than when last read (writers only count up, so a torn or stale file shows as a
// step back). The first fault ends it with status 1 and the reason on standard error.

#include "profilefile/ProfileFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const auto fail = [](const std::string& why) { return std::fprintf(stderr, "%s\n", why.c_str()), 1; };
  if (argc != 5) return fail("usage: penlark-profile-writer PENLARK.INI NAME OTHER COUNT");
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
