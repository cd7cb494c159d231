#include "profilefile/ProfileFile.h"

#include "profilefile/FileBytes.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The blanks of the Windows parser; CR and LF never reach it, they end lines.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    // Runs of ASCII, the whole of most files, eight bytes at a time.
    for (uint64_t word; i + 8 <= s.size(); i += 8) {
      std::memcpy(&word, s.data() + i, 8);
      if (word & 0x8080808080808080ull) break;
    }
    if (i >= s.size()) break;
    const auto c = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += extra + 1;
  }
  return true;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Windows-1252; the five bytes it leaves undefined map to the C1 controls of the same
// number, as Windows itself converts them.
std::string FromWindows1252(std::string_view s) {
  static constexpr uint16_t k80[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(s.size() + s.size() / 4);
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    AppendUtf8(out, (c >= 0x80 && c < 0xA0) ? k80[c - 0x80] : c);
  }
  return out;
}

// One line of the file as it stands: its text and the line break that ends it ("" for a
// last line without one). Both are views into the ProfileText that holds the line.
struct Line {
  std::string_view text;
  std::string_view end;
};

// The file's lines as views into its text read once, so a read of a large file copies
// nothing line by line. Not copied or moved: the lines point into it.
class ProfileText {
 public:
  ProfileText() = default;
  ProfileText(const ProfileText&) = delete;
  ProfileText& operator=(const ProfileText&) = delete;

  void Parse(std::string bytes) {
    std::string_view rest = bytes;
    if (rest.substr(0, kBom.size()) == kBom) {
      bom = true;
      rest.remove_prefix(kBom.size());
    }
    size_t offset = 0;
    if (IsValidUtf8(rest)) {
      offset = bom ? kBom.size() : 0;
      text_ = std::move(bytes);
    } else {
      text_ = FromWindows1252(rest);
    }
    const std::string_view all = std::string_view(text_).substr(offset);
    size_t pos = 0;
    while (pos < all.size()) {
      // A plain loop: find_first_of looks each character up in the set, slow on a long line.
      size_t br = pos;
      while (br < all.size() && all[br] != '\r' && all[br] != '\n') ++br;
      if (br == all.size()) {
        lines.push_back({all.substr(pos), {}});
        break;
      }
      const size_t brLen = (all[br] == '\r' && br + 1 < all.size() && all[br + 1] == '\n') ? 2 : 1;
      lines.push_back({all.substr(pos, br - pos), all.substr(br, brLen)});
      pos = br + brLen;
    }
  }

  // A text the file did not hold, kept for as long as the lines that show it.
  std::string_view Keep(std::string text) { return kept_.emplace_back(std::move(text)); }

  std::string_view Newline() const {
    for (const Line& line : lines)
      if (!line.end.empty()) return line.end;
    return "\n";
  }
  std::string Bytes() const {
    std::string out = bom ? std::string(kBom) : std::string();
    for (const Line& line : lines) {
      out += line.text;
      out += line.end;
    }
    return out;
  }

  bool bom = false;
  std::vector<Line> lines;

 private:
  std::string text_;
  std::deque<std::string> kept_;  // a deque never moves what it holds
};

// What one line is to the parser. Names and the value are views into the line's text.
struct LineKind {
  enum Kind { Other, Header, Key } kind = Other;
  std::string_view name;
  std::string_view value;
  size_t valueStart = 0;  // where the value begins in the line, for a key
};

LineKind Classify(std::string_view line) {
  LineKind kind;
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return kind;
  if (t.front() == '[') {
    const size_t close = t.rfind(']');
    if (close != std::string_view::npos) {
      kind.kind = LineKind::Header;
      kind.name = Trim(t.substr(1, close - 1));
      return kind;
    }
  }
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return kind;
  kind.kind = LineKind::Key;
  kind.name = Trim(line.substr(0, eq));
  size_t start = eq + 1;
  while (start < line.size() && IsBlank(line[start])) ++start;
  kind.valueStart = start;
  kind.value = Trim(line.substr(start));
  return kind;
}

struct Found {
  std::optional<size_t> header;  // line of the section's header
  size_t sectionEnd = 0;         // one past the section's last line
  std::optional<size_t> key;     // line of the key
};

Found Find(const ProfileText& text, std::string_view section, std::string_view key) {
  Found found;
  section = Trim(section);
  key = Trim(key);
  const size_t n = text.lines.size();
  for (size_t i = 0; i < n && !found.header; ++i) {
    const LineKind k = Classify(text.lines[i].text);
    if (k.kind == LineKind::Header && SameName(k.name, section)) found.header = i;
  }
  if (!found.header) return found;
  size_t i = *found.header + 1;
  for (; i < n; ++i) {
    const LineKind k = Classify(text.lines[i].text);
    if (k.kind == LineKind::Header) break;
    if (k.kind == LineKind::Key && !found.key && SameName(k.name, key)) found.key = i;
  }
  found.sectionEnd = i;
  return found;
}

size_t LineEnd(std::string_view text, size_t from) {
  while (from < text.size() && text[from] != '\n' && text[from] != '\r') ++from;
  return from;
}

// What Find gives for a read, found without splitting the file into lines: a header's
// "[" is the first non-blank of its line, so the lines of other sections are skipped by
// looking for "[" alone. A read does this once per value, so it is kept cheap.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  size_t at = 0;
  for (;;) {  // to the line after the section's header
    const size_t open = text.find('[', at);
    if (open == std::string_view::npos) return std::nullopt;
    size_t start = open;
    while (start > 0 && IsBlank(text[start - 1])) --start;
    at = open + 1;
    if (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r') continue;
    at = LineEnd(text, open);
    const LineKind kind = Classify(text.substr(start, at - start));
    if (kind.kind == LineKind::Header && SameName(kind.name, section)) break;
  }
  while (at < text.size()) {  // its lines, to the next header
    at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
    const size_t end = LineEnd(text, at);
    const LineKind kind = Classify(text.substr(at, end - at));
    if (kind.kind == LineKind::Header) return std::nullopt;
    if (kind.kind == LineKind::Key && SameName(kind.name, key)) return kind.value;
    at = end;
  }
  return std::nullopt;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

ProfileWriteResult Failed(std::string reason) { return {false, std::move(reason)}; }

ProfileWriteResult FailedErrno(int error) { return Failed(std::strerror(error)); }

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::optional<std::string> Refusal(std::string_view section, std::string_view key,
                                   std::string_view value) {
  if (HasLineBreak(section) || section.find(']') != std::string_view::npos)
    return "The section name \"" + std::string(section) + "\" holds a line break or \"]\".";
  if (HasLineBreak(key) || key.find('=') != std::string_view::npos || key.starts_with('[') ||
      key.starts_with(';'))
    return "The key \"" + std::string(key) +
           "\" holds a line break or \"=\", or starts with \"[\" or \";\".";
  if (HasLineBreak(value)) return "The value of \"" + std::string(key) + "\" holds a line break.";
  // Bytes that are not UTF-8 would turn the whole file into Windows-1252 on the next read,
  // changing every other value that is not plain ASCII.
  if (!IsValidUtf8(section) || !IsValidUtf8(key) || !IsValidUtf8(value))
    return std::string("The section, key or value is not UTF-8 text.");
  return std::nullopt;
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, const std::string& file) {
  std::string_view fallback = def;
  while (!fallback.empty() && IsBlank(fallback.back())) fallback.remove_suffix(1);
  bool missing = false;
  const std::optional<std::string> bytes = ReadFileBytes(file, &missing);
  if (!bytes) return std::string(fallback);
  std::string_view text = *bytes;
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  std::string decoded;
  if (!IsValidUtf8(text)) text = decoded = FromWindows1252(text);
  const std::optional<std::string_view> value = FindValue(text, section, key);
  if (!value) return std::string(fallback);
  return std::string(Unquote(*value));
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int def,
                         const std::string& file) {
  const std::string value = GetPrivateProfileString(section, key, "", file);
  if (value.empty()) return def;
  // The number is read as Windows reads it: an optional sign, a base prefix (0x, 0o,
  // 0b), then digits while they last, the total kept in 32 bits without overflow checks.
  size_t i = 0;
  bool negative = false;
  if (value[i] == '+' || value[i] == '-') negative = value[i++] == '-';
  unsigned base = 10;
  if (i + 1 < value.size() && value[i] == '0') {
    const char p = AsciiLower(value[i + 1]);
    if (p == 'x') base = 16;
    if (p == 'o') base = 8;
    if (p == 'b') base = 2;
    if (base != 10) i += 2;
  }
  uint32_t total = 0;
  for (; i < value.size(); ++i) {
    const char c = AsciiLower(value[i]);
    unsigned digit = 0;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else
      break;
    if (digit >= base) break;
    total = total * base + digit;
  }
  if (negative) total = 0u - total;
  return static_cast<int>(total);
}

namespace {

// One entry applied to the parsed file; a refusal names why and changes nothing.
std::optional<std::string> Apply(ProfileText& text, std::string_view section, std::string_view key,
                                 std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  value = Trim(value);
  if (std::optional<std::string> refused = Refusal(section, key, value)) return refused;
  const std::string_view newline = text.Newline();
  const auto keyLine = [&] { return text.Keep(std::string(key) + "=" + std::string(value)); };

  const Found found = Find(text, section, key);
  if (found.key) {
    Line& line = text.lines[*found.key];
    line.text = text.Keep(std::string(line.text.substr(0, Classify(line.text).valueStart)) + std::string(value));
  } else if (found.header) {
    size_t at = found.sectionEnd;
    while (at > *found.header + 1 && Trim(text.lines[at - 1].text).empty()) --at;
    if (at == text.lines.size() && text.lines.back().end.empty()) text.lines.back().end = newline;
    text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(at), Line{keyLine(), newline});
  } else {
    if (!text.lines.empty() && text.lines.back().end.empty()) text.lines.back().end = newline;
    text.lines.push_back({text.Keep("[" + std::string(section) + "]"), newline});
    text.lines.push_back({keyLine(), newline});
  }
  return std::nullopt;
}

}  // namespace

ProfileWriteResult WritePrivateProfileString(std::string_view section, std::string_view key,
                                             std::string_view value, const std::string& file) {
  return WritePrivateProfileStrings({{std::string(section), std::string(key), std::string(value)}}, file);
}

ProfileWriteResult WritePrivateProfileStrings(const std::vector<ProfileEntry>& entries,
                                              const std::string& file) {
  // Refusals first, so a refused entry is reported the same with or without a file.
  for (const ProfileEntry& entry : entries)
    if (std::optional<std::string> refused = Refusal(Trim(entry.section), Trim(entry.key), Trim(entry.value)))
      return Failed(*refused);
  if (file.empty()) return FailedErrno(ENOENT);

  bool missing = false;
  std::optional<std::string> before = ReadFileBytes(file, &missing);
  if (!before) return FailedErrno(errno);
  ProfileText text;
  text.Parse(*before);
  for (const ProfileEntry& entry : entries)
    if (std::optional<std::string> refused = Apply(text, entry.section, entry.key, entry.value))
      return Failed(*refused);

  const std::string after = text.Bytes();
  if (!missing && after == *before) return {};
  if (const int error = ReplaceFileBytes(file, after)) return FailedErrno(error);
  return {};
}
