#pragma once

// The profile file: the three functions of the Windows API of the same names, over one
// INI-style text file. Plain C++, no Qt, so it can be fuzzed and tested alone.
//
// File syntax as read:
//   [section]        a section header; blanks inside the brackets' ends are ignored
//   key=value        a key line; blanks around the key and around the value are ignored
//   ; comment        kept as it stands by every write, as are blank lines and any line
//                    that is neither a header nor holds "=" (it is not a key)
// Sections and keys are compared without regard to ASCII letter case. A key before the
// first header belongs to no section and is never found. When a section or key appears
// twice, the first one counts, for reads and writes alike.
// A value enclosed in a matching pair of double or single quotes is returned without
// them, as Windows does.
//
// Encoding: values are UTF-8 strings. A file that is not valid UTF-8 is read as
// Windows-1252 (so a file made on Windows keeps its separators), and a write stores the
// whole file as UTF-8. A UTF-8 byte-order mark is skipped on read and kept by a write.
// Lines end in LF, CR LF or CR; a write keeps the file's own line ending (that of its
// first line), and a new file gets LF.
//
// DEVIATION: the Windows functions copy a value into the caller's buffer and cut it to
// the buffer's size; these return the whole value, so nothing written comes back cut.

#include <string>
#include <string_view>
#include <vector>

// The value of key in section, or def when the file, the section or the key is missing.
// A key present with an empty value gives "" (not def), as on Windows. Trailing blanks
// of def are dropped, as Windows does.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, const std::string& file);

// The leading decimal number of the value (an optional sign, then digits; "12abc" is 12),
// 0 when the value does not start with one, def when the key is missing or its value is
// empty. Like Windows, a value of "0x1A" is read as hexadecimal (and "0o17" as octal,
// "0b101" as binary), and the number wraps at 32 bits ("4294967297" is 1).
int GetPrivateProfileInt(std::string_view section, std::string_view key, int def,
                         const std::string& file);

struct ProfileWriteResult {
  bool ok = true;
  std::string reason;  // why the write failed, for the user; empty when ok
};

// Sets key in section to value: creates the file, the section (at the end of the file)
// or the key (at the end of its section, before the blank lines that close it) as
// needed and replaces the whole value of an existing key, keeping the rest of the file,
// comments and blank lines included.
// The file is replaced atomically: a temporary file in the same folder (the file's name
// followed by ".tmp") is written, flushed and renamed over it, keeping the old file's
// permissions; a crash or a full disk leaves the old file whole. A file named through a
// symbolic link is replaced where the link points. Blanks around section, key and value
// are dropped; a write that changes nothing leaves the file untouched.
// DEVIATION: Windows can lose a write without a word; here a failure is returned with
// its reason and the file is left as it was. A section, key or value holding a line
// break (CR or LF), a section holding "]", or a key holding "=" or starting with "[" or
// ";", is refused the same way, since it would change the file's structure; so is one
// that is not UTF-8. A file without write permission for anyone is not replaced, even
// for root, since its owner marked it read-only.
ProfileWriteResult WritePrivateProfileString(std::string_view section, std::string_view key,
                                             std::string_view value, const std::string& file);

struct ProfileEntry {
  std::string section, key, value;
};

// Sets each entry in turn as WritePrivateProfileString does, in one replacement of the
// file: after a crash, a failure or a refusal of any entry the file holds all of them or
// none.
ProfileWriteResult WritePrivateProfileStrings(const std::vector<ProfileEntry>& entries,
                                              const std::string& file);
