// Any bytes as PENLARK.INI and any section, key and value: reads never fail, a write
// reads back as written and changes no other key, a refused write leaves the file as it
// was, a repeated write changes nothing, and two values written at once give the same
// file as written one after the other.

#include "profilefile/ProfileFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include <unistd.h>

namespace {

std::string Folder() {
  static const std::string folder = [] {
    std::string pattern = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/penlark-fuzz-XXXXXX");
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  return folder;
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

std::string Trim(std::string s) {
  while (!s.empty() && IsBlank(s.back())) s.pop_back();
  size_t start = 0;
  while (start < s.size() && IsBlank(s[start])) ++start;
  return s.substr(start);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// What a key written with this value reads back as: trimmed, one pair of quotes dropped.
std::string ReadBack(const std::string& value) {
  std::string v = Trim(value);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return v;
}

using Name = std::pair<std::string, std::string>;  // section, key; trimmed and lower case

// Every (section, key) the bytes could hold, found without the reader's help.
void CollectNames(const std::string& bytes, std::set<Name>* names) {
  std::string section;
  size_t start = 0;
  while (start <= bytes.size() && names->size() < 400) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = Trim(bytes.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;
    if (line.front() == '[' && line.find(']') != std::string::npos) {
      section = Trim(line.substr(1, line.rfind(']') - 1));
    } else if (const size_t eq = line.find('='); eq != std::string::npos) {
      names->insert({Lower(section), Lower(Trim(line.substr(0, eq)))});
    }
  }
}

std::string Get(const Name& name, const std::string& file) {
  return GetPrivateProfileString(name.first, name.second, "\x01(missing)", file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const ProfileEntry first{in.ConsumeRandomLengthString(48), in.ConsumeRandomLengthString(48),
                           in.ConsumeRandomLengthString(160)};
  const ProfileEntry second{in.ConsumeRandomLengthString(48), in.ConsumeRandomLengthString(48),
                            in.ConsumeRandomLengthString(160)};
  const std::string before = in.ConsumeRemainingBytesAsString();
  const std::string file = Folder() + "/PENLARK.INI";
  const std::string twin = Folder() + "/TWIN.INI";
  Put(file, before);
  Put(twin, before);

  std::set<Name> names;
  CollectNames(before, &names);
  (void)GetPrivateProfileInt(first.section, first.key, 7, file);

  std::set<Name> others;
  const Name written{Lower(Trim(first.section)), Lower(Trim(first.key))};
  for (const Name& n : names)
    if (n != written) others.insert(n);
  std::string oldValues;
  for (const Name& n : others) oldValues += Get(n, file) + '\n';

  const ProfileWriteResult result = WritePrivateProfileString(first.section, first.key, first.value, file);
  const std::string after = Bytes(file);
  if (!result.ok) {
    if (after != before) std::abort();  // a refused or failed write changed the file
    if (result.reason.empty()) std::abort();
  } else {
    if (Get(written, file) != ReadBack(first.value)) std::abort();  // not read back as written
    std::string newValues;
    for (const Name& n : others) newValues += Get(n, file) + '\n';
    if (newValues != oldValues) std::abort();  // another key changed
    if (!WritePrivateProfileString(first.section, first.key, first.value, file).ok || Bytes(file) != after)
      std::abort();  // the same write again changed something
  }

  // Two at once equal two in turn, or nothing at all when either is refused.
  Put(file, before);
  const bool inTurn = WritePrivateProfileString(first.section, first.key, first.value, file).ok &&
                      WritePrivateProfileString(second.section, second.key, second.value, file).ok;
  const bool atOnce = WritePrivateProfileStrings({first, second}, twin).ok;
  if (inTurn != atOnce) std::abort();
  if (atOnce ? Bytes(twin) != Bytes(file) : Bytes(twin) != before) std::abort();
  return 0;
}
