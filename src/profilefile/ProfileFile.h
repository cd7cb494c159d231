#pragma once

// The profile file: the three functions of the Windows API of the same names, over one
// INI-style text file. Plain C++, no Qt, so it can be fuzzed and tested alone.
//
// File syntax as read:
//   [section]        a section header: a line whose first non-blank is "["; the name ends
//                    at the first "]" ("[T]x]" is T) or, without one, with the line
//                    ("[Broken" is Broken); blanks around the name are ignored
//   key=value        a key line; blanks around the key and around the value are ignored
//   ; comment        kept as it stands by every write, as are blank lines and any line
//                    that is neither a header nor holds "=" (it is not a key)
// Sections and keys are compared without regard to ASCII letter case. A key before the
// first header belongs to no section and is never found. When a section or key appears
// twice, the first one counts, for reads and writes alike.
// A value enclosed in a matching pair of double or single quotes is returned without
// them, as Windows does.
//
// The file's blanks are space, tab, VT, FF and ^Z. From the caller's section, key and
// default only spaces are trimmed, as Windows does: "\tS" does not find [S].
//
// Encoding: values are UTF-8 strings; a file keeps its own encoding, as on Windows. A file
// starting with the byte-order mark FF FE is UTF-16LE; one that is valid UTF-8 (with or
// without its byte-order mark) is UTF-8; any other is Windows-1252, what a file made on
// Windows holds, with its separators. A write keeps the encoding, the byte-order mark and
// the bytes of every line it does not touch; only a value that Windows-1252 cannot hold
// turns such a file into UTF-8, whole; a UTF-16LE file's lone surrogates and odd last byte
// stay as they are. A new file is UTF-8. Lines end in LF, CR LF or CR;
// a write keeps the file's own line ending (that of its first line), and a new file gets LF.
//
// Two processes may use one file at once: each write's read-modify-write holds flock(2) on
// a lock file beside it (its name followed by ".lock"), so writers take turns and none is
// lost, as Windows serializes them. A read takes the lock shared but waits for a stalled
// writer only a moment (a quarter second), then reads the file as it stands; a writer waits
// up to ten seconds, then fails and says why.
//
// DEVIATION: the Windows functions copy a value into the caller's buffer and cut it to
// the buffer's size; these return the whole value, so nothing written comes back cut.

#include <string>
#include <string_view>
#include <vector>

// The value of key in section, or def when the file, the section or the key is missing.
// A key present with an empty value gives "" (not def), as on Windows. Trailing spaces
// of def are dropped, as Windows does; a trailing tab stays.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, const std::string& file);

// The leading decimal number of the value (an optional sign, then digits; "12abc" is 12),
// 0 when the value does not start with one, def when the key is missing or its value is
// empty. Like Windows, blanks before it are skipped (a quoted " 9" is 9), a value of "0x1A"
// is read as hexadecimal (and "0o17" as octal, "0b101" as binary) while "0X1A" is 0, and
// the number wraps at 32 bits ("4294967297" is 1).
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
// The file is replaced atomically: a temporary file of its own in the same folder (the
// file's name followed by ".tmp-" and random letters) is written, flushed and renamed over
// it, keeping the old file's permissions; a crash or a full disk leaves the old file whole.
// A file named through a symbolic link is replaced where the link points. Spaces around
// section and key and blanks around the value are dropped; a write that changes nothing
// leaves the file untouched.
// DEVIATION: Windows can lose a write without a word; here a failure is returned with
// its reason and the file is left as it was. A section, key or value holding a line
// break (CR or LF), a section holding "]", or a key holding "=" or starting with "[" or
// ";", is refused the same way, since it would change the file's structure; so is one
// that is not UTF-8, and a section or key that starts or ends with a blank other than a
// space, which the next read would drop, so that the name would no longer be found. A file without write permission for anyone is not replaced, even
// for root, since its owner marked it read-only.
ProfileWriteResult WritePrivateProfileString(std::string_view section, std::string_view key,
                                             std::string_view value, const std::string& file);

struct ProfileEntry {
  std::string section, key, value;
};

// Sets each entry in turn as WritePrivateProfileString does, in one replacement of the
// file: after a crash, a failure or a refusal of any entry the file holds all of them or
// none. The encoding follows what is finally stored: a value that a later entry replaces
// does not turn a Windows-1252 file into UTF-8.
ProfileWriteResult WritePrivateProfileStrings(const std::vector<ProfileEntry>& entries,
                                              const std::string& file);
