#include "profilefile/ProfileFile.h"

#include "profilefile/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

// The blanks of the Windows parser; CR and LF never reach it, they end lines.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The caller's names and default: Windows trims spaces from them, and nothing else.
std::string_view TrimSpaces(std::string_view s, bool front = true) {
  while (front && s.starts_with(' ')) s.remove_prefix(1);
  while (s.ends_with(' ')) s.remove_suffix(1);
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
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The code point at s[*i], stepping past it. s holds UTF-8, or the generalized UTF-8 that
// also encodes a lone surrogate, as a UTF-16 file's text here does.
uint32_t NextCodePoint(std::string_view s, size_t* i) {
  const auto c = static_cast<unsigned char>(s[(*i)++]);
  const size_t extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
  uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
  for (size_t k = 0; k < extra && *i < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[(*i)++]) & 0x3F);
  return cp;
}

// Windows-1252; the five bytes it leaves undefined map to the C1 controls of the same
// number, as Windows itself converts them. So every byte has its own character and back.
constexpr uint16_t k1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string FromWindows1252(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 4);
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    AppendUtf8(out, (c >= 0x80 && c < 0xA0) ? k1252[c - 0x80] : c);
  }
  return out;
}

// Nothing when the text holds a character Windows-1252 has not.
std::optional<std::string> ToWindows1252(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const uint32_t cp = NextCodePoint(s, &i);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    const uint16_t* at = std::find(std::begin(k1252), std::end(k1252), cp);
    if (at == std::end(k1252)) return std::nullopt;
    out += static_cast<char>(0x80 + (at - std::begin(k1252)));
  }
  return out;
}

// A lone surrogate is kept as itself, so every line goes back to the bytes it came from.
std::string FromUtf16Le(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  const auto unit = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(s[i]) | (static_cast<unsigned char>(s[i + 1]) << 8));
  };
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    uint32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < s.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string ToUtf16Le(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  const auto put = [&](uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  };
  for (size_t i = 0; i < s.size();) {
    const uint32_t cp = NextCodePoint(s, &i);
    if (cp < 0x10000) {
      put(cp);
    } else {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

// The file's bytes as UTF-8 text, and the way back to bytes in the file's own encoding.
// A file starting with FF FE is UTF-16LE; one that is valid UTF-8 (after a byte-order
// mark, if any) is UTF-8; any other is Windows-1252. The text is a view into the bytes
// when they are UTF-8, so a read of such a file copies nothing. Neither copied nor moved:
// the text may point into it.
class FileText {
 public:
  explicit FileText(std::string_view bytes) {
    if (bytes.starts_with(kUtf16Bom)) {
      encoding_ = Encoding::Utf16Le;
      bom_ = kUtf16Bom;
      bytes.remove_prefix(kUtf16Bom.size());
      if (bytes.size() % 2) odd_ = bytes.back();  // half a character: kept at the end
      text = converted_ = FromUtf16Le(bytes);
      return;
    }
    if (bytes.starts_with(kBom)) {
      bom_ = kBom;
      bytes.remove_prefix(kBom.size());
    }
    if (IsValidUtf8(bytes)) {
      text = bytes;
    } else {
      encoding_ = Encoding::Windows1252;
      text = converted_ = FromWindows1252(bytes);
    }
  }
  FileText(const FileText&) = delete;
  FileText& operator=(const FileText&) = delete;

  // text, edited, as the file's bytes. Windows-1252 turns UTF-8 only when it must.
  std::string Bytes(std::string_view edited) const {
    std::string out(bom_);
    switch (encoding_) {
      case Encoding::Utf16Le:
        return out + ToUtf16Le(edited) + odd_;
      case Encoding::Windows1252:
        if (std::optional<std::string> narrow = ToWindows1252(edited)) return out + *narrow;
        break;
      case Encoding::Utf8:
        break;
    }
    return out.append(edited);
  }

  std::string_view text;

 private:
  enum class Encoding { Utf8, Windows1252, Utf16Le } encoding_ = Encoding::Utf8;
  std::string_view bom_;
  std::string converted_;
  std::string odd_;
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
  if (t.front() == '[') {  // the name ends at the first "]", or with the line
    kind.kind = LineKind::Header;
    kind.name = Trim(t.substr(1, t.find(']', 1) - 1));
    return kind;
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

size_t LineEnd(std::string_view text, size_t from) {
  while (from < text.size() && text[from] != '\n' && text[from] != '\r') ++from;
  return from;
}

// Past the line break at `end`, if there is one.
size_t NextLine(std::string_view text, size_t end) {
  if (end >= text.size()) return end;
  return end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
}

struct Found {
  bool section = false;
  size_t newKeyAt = 0;  // where a new key goes: after the section's last line that is not blank
  size_t valueStart = 0, lineEnd = 0;    // the key's value, to the end of its line
  std::optional<std::string_view> value;  // the key's value as read; nothing when it is missing
};

// The first section named `section` and its first key named `key`, for reads and writes
// alike. A header's "[" is the first non-blank of its line, so the lines of other sections
// are skipped by looking for "[" alone: a read does this once per value, so it is kept cheap.
Found Find(std::string_view text, std::string_view section, std::string_view key) {
  Found found;
  size_t at = 0;
  for (size_t from = 0; !found.section;) {  // to the section's header
    const size_t open = text.find('[', from);
    if (open == std::string_view::npos) return found;
    size_t start = open;
    while (start > 0 && IsBlank(text[start - 1])) --start;
    from = open + 1;
    if (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r') continue;
    from = LineEnd(text, open);
    const LineKind kind = Classify(text.substr(start, from - start));
    found.section = kind.kind == LineKind::Header && SameName(kind.name, section);
    at = from;
  }
  at = found.newKeyAt = NextLine(text, at);
  while (at < text.size()) {  // its lines, to the next header
    const size_t end = LineEnd(text, at);
    const std::string_view line = text.substr(at, end - at);
    const LineKind kind = Classify(line);
    if (kind.kind == LineKind::Header) break;
    if (kind.kind == LineKind::Key && SameName(kind.name, key)) {
      found.valueStart = at + kind.valueStart;
      found.lineEnd = end;
      found.value = kind.value;
      break;
    }
    at = NextLine(text, end);
    if (!Trim(line).empty()) found.newKeyAt = at;
  }
  return found;
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

bool HasEdgeBlank(std::string_view s) { return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back())); }

// section and key as the caller's names are taken (spaces trimmed), value as it is written.
std::optional<std::string> Refusal(std::string_view section, std::string_view key,
                                   std::string_view value) {
  if (HasLineBreak(section) || section.find(']') != std::string_view::npos)
    return "The section name \"" + std::string(section) + "\" holds a line break or \"]\".";
  if (HasLineBreak(key) || key.find('=') != std::string_view::npos || key.starts_with('[') ||
      key.starts_with(';'))
    return "The key \"" + std::string(key) +
           "\" holds a line break or \"=\", or starts with \"[\" or \";\".";
  // The file's own blanks (a tab) around a name would be dropped on the next read, and the
  // name would no longer be found as written.
  for (std::string_view name : {section, key})
    if (HasEdgeBlank(name))
      return "The name \"" + std::string(name) + "\" starts or ends with a blank that is not a space.";
  if (HasLineBreak(value)) return "The value of \"" + std::string(key) + "\" holds a line break.";
  // Bytes that are not UTF-8 would turn the whole file into Windows-1252 on the next read,
  // changing every other value that is not plain ASCII.
  if (!IsValidUtf8(section) || !IsValidUtf8(key) || !IsValidUtf8(value))
    return std::string("The section, key or value is not UTF-8 text.");
  return std::nullopt;
}

// A reader waits no longer for a writer than this, then reads the file as it stands: the
// replacement is atomic, so it still sees a whole file. A writer waits longer for another.
constexpr std::chrono::milliseconds kReadWait{250};
constexpr std::chrono::seconds kWriteWait{10};

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, const std::string& file) {
  const std::string_view fallback = TrimSpaces(def, false);
  bool missing = false;
  std::optional<std::string> bytes;
  {
    const FileLock lock(file, FileLock::Shared, kReadWait);
    bytes = ReadFileBytes(file, &missing);
  }
  if (!bytes) return std::string(fallback);
  const FileText text(*bytes);
  const Found found = Find(text.text, TrimSpaces(section), TrimSpaces(key));
  if (!found.value) return std::string(fallback);
  return std::string(Unquote(*found.value));
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int def,
                         const std::string& file) {
  const std::string value = GetPrivateProfileString(section, key, "", file);
  if (value.empty()) return def;
  // The number is read as Windows reads it: blanks (inside quotes there may be some), an
  // optional sign, a lower-case base prefix (0x, 0o, 0b), then digits while they last, the
  // total kept in 32 bits without overflow checks.
  size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  unsigned base = 10;
  if (i + 1 < value.size() && value[i] == '0') {
    const char p = value[i + 1];
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

// The file's first line break, which new lines get; LF for a file without one.
std::string FirstLineBreak(std::string_view text) {
  const size_t at = LineEnd(text, 0);
  return at == text.size() ? "\n" : std::string(text.substr(at, NextLine(text, at) - at));
}

// One entry applied to the text; a refusal names why and changes nothing.
std::optional<std::string> Apply(std::string& text, std::string_view newline, const ProfileEntry& entry) {
  const std::string_view section = TrimSpaces(entry.section), key = TrimSpaces(entry.key);
  const std::string_view value = Trim(entry.value);
  if (std::optional<std::string> refused = Refusal(section, key, value)) return refused;
  const Found found = Find(text, section, key);
  if (found.value) {
    text.replace(found.valueStart, found.lineEnd - found.valueStart, value);
    return std::nullopt;
  }
  std::string lines;
  if (!found.section) lines.append("[").append(section).append("]").append(newline);
  lines.append(key).append("=").append(value).append(newline);
  const size_t at = found.section ? found.newKeyAt : text.size();
  if (at == text.size() && !text.empty() && text.back() != '\n' && text.back() != '\r') lines.insert(0, newline);
  text.insert(at, lines);
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
    if (std::optional<std::string> refused = Refusal(TrimSpaces(entry.section), TrimSpaces(entry.key), Trim(entry.value)))
      return Failed(*refused);
  if (file.empty()) return FailedErrno(ENOENT);

  // One read-modify-write at a time. Without the lock file (a folder we may not write),
  // the replacement below fails and says why.
  const FileLock lock(file, FileLock::Exclusive, kWriteWait);
  if (!lock.held() && lock.error() == EWOULDBLOCK)
    return Failed("Another program has kept the file locked for " + std::to_string(kWriteWait.count()) + " seconds.");
  bool missing = false;
  const std::optional<std::string> before = ReadFileBytes(file, &missing);
  if (!before) return FailedErrno(errno);
  const FileText parsed(*before);
  std::string text(parsed.text);
  const std::string newline = FirstLineBreak(text);
  for (const ProfileEntry& entry : entries)
    if (std::optional<std::string> refused = Apply(text, newline, entry)) return Failed(*refused);

  const std::string after = parsed.Bytes(text);
  if (!missing && after == *before) return {};
  if (const int error = ReplaceFileBytes(file, after)) return FailedErrno(error);
  return {};
}
