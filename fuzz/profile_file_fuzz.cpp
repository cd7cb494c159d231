// Any bytes as PENLARK.INI and any section, key and value: reads never fail, a write
// reads back as written, changes no other key and leaves every line it does not touch
// byte for byte in the file's own encoding (UTF-8, Windows-1252 or UTF-16LE), a refused
// write leaves the file as it was, a repeated write changes nothing, and two values
// written at once give the same file as written one after the other (or, when the second
// replaces the first, as the second value written alone under the first's names: a value
// never stored does not turn a Windows-1252 file into UTF-8).

#include "profilefile/ProfileFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

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

std::string TrimSpaces(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s.substr(std::min(s.find_first_not_of(' '), s.size()));
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
    if (line.front() == '[') {  // the name ends at the first "]", or with the line
      section = Trim(line.substr(1, line.find(']', 1) - 1));
    } else if (const size_t eq = line.find('='); eq != std::string::npos) {
      names->insert({Lower(section), Lower(Trim(line.substr(0, eq)))});
    }
  }
}

bool IsUtf16(const std::string& bytes) { return bytes.starts_with("\xFF\xFE"); }

// A UTF-16LE file's ASCII characters as bytes, enough to find its ASCII names.
std::string Narrow(const std::string& bytes) {
  if (!IsUtf16(bytes)) return bytes;
  std::string out;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    out += bytes[i + 1] == 0 && static_cast<unsigned char>(bytes[i]) < 0x80 ? bytes[i] : '?';
  return out;
}

// The lines of the file as its bytes, line breaks left out; in a UTF-16LE file a line
// break is a CR or LF code unit.
std::vector<std::string> Lines(const std::string& bytes) {
  const size_t step = IsUtf16(bytes) ? 2 : 1;
  const auto breakAt = [&](size_t i) {
    return i + step <= bytes.size() && (bytes[i] == '\r' || bytes[i] == '\n') && (step == 1 || bytes[i + 1] == 0);
  };
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < bytes.size();) {
    if (!breakAt(i)) {
      line.append(bytes, i, std::min(step, bytes.size() - i));
      i += step;
      continue;
    }
    const bool crlf = bytes[i] == '\r' && breakAt(i + step) && bytes[i + step] == '\n';
    i += crlf ? 2 * step : step;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// A write replaces at most one line and inserts others; every other line of before is in
// after, byte for byte, in its place.
bool KeepsUntouchedLines(const std::string& before, const std::string& after) {
  const std::vector<std::string> a = Lines(before), b = Lines(after);
  size_t prefix = 0;
  while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < a.size() - prefix && suffix < b.size() - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
    ++suffix;
  return a.size() - prefix - suffix <= 1;
}

bool IsAscii(const ProfileEntry& e) {
  for (const std::string* s : {&e.section, &e.key, &e.value})
    for (char c : *s)
      if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
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
  CollectNames(Narrow(before), &names);
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
    // Only a value Windows-1252 cannot hold may turn a file into UTF-8, whole.
    const bool turnedUtf8 = !IsAscii(first) && after != before && !IsUtf16(before);
    if (IsUtf16(before) != IsUtf16(after)) std::abort();  // UTF-16LE did not stay so
    if (!turnedUtf8 && !KeepsUntouchedLines(before, after)) std::abort();  // an untouched line changed
    if (!WritePrivateProfileString(first.section, first.key, first.value, file).ok || Bytes(file) != after)
      std::abort();  // the same write again changed something
  }

  // Two at once equal two in turn, or nothing at all when either is refused.
  Put(file, before);
  const bool inTurn = WritePrivateProfileString(first.section, first.key, first.value, file).ok &&
                      WritePrivateProfileString(second.section, second.key, second.value, file).ok;
  const bool atOnce = WritePrivateProfileStrings({first, second}, twin).ok;
  if (inTurn != atOnce) std::abort();
  if (atOnce && Lower(TrimSpaces(first.section)) == Lower(TrimSpaces(second.section)) &&
      Lower(TrimSpaces(first.key)) == Lower(TrimSpaces(second.key))) {
    Put(file, before);
    (void)WritePrivateProfileString(first.section, first.key, second.value, file);
  }
  if (atOnce ? Bytes(twin) != Bytes(file) : Bytes(twin) != before) std::abort();
  return 0;
}
