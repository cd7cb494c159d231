// penlark-profile-writer PENLARK.INI NAME OTHER COUNT: writes key NAME of [Writers] COUNT
// times, the numbers 1 to COUNT, as fast as it can, while another copy writes OTHER. After
// each write the file must read back whole: every line a header or a key, NAME holding the
// number just written, OTHER no smaller than when last read (writers only count up). The
// first fault ends it with status 1 and the reason on standard error.

#include "profilefile/ProfileFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "%s\n", why.c_str());
  return 1;
}

// The first line that is neither blank, a header nor a key; "" when there is none.
std::string StrayLine(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    if (!line.empty() && !(line.front() == '[' && line.back() == ']') && line.find('=') == std::string::npos)
      return line;
    start = end + 1;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return Fail("usage: penlark-profile-writer PENLARK.INI NAME OTHER COUNT");
  const std::string file = argv[1], name = argv[2], other = argv[3];
  const int count = std::atoi(argv[4]);
  int otherSeen = 0;
  for (int n = 1; n <= count; ++n) {
    const ProfileWriteResult written = WritePrivateProfileString("Writers", name, std::to_string(n), file);
    if (!written.ok) return Fail("write " + std::to_string(n) + " failed: " + written.reason);
    if (const std::string stray = StrayLine(file); !stray.empty())
      return Fail("after write " + std::to_string(n) + " a stray line: " + stray);
    if (GetPrivateProfileInt("Writers", name, -1, file) != n)
      return Fail("write " + std::to_string(n) + " is lost: " + GetPrivateProfileString("Writers", name, "", file));
    const int seen = GetPrivateProfileInt("Writers", other, 0, file);
    if (seen < otherSeen)
      return Fail(other + " went back from " + std::to_string(otherSeen) + " to " + std::to_string(seen));
    otherSeen = seen;
  }
  return 0;
}
