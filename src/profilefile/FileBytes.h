#pragma once

// Whole-file reads and atomic replacement under the profile file. Plain C++, no Qt.

#include <optional>
#include <string>
#include <string_view>

// The file's bytes. A missing file (or folder) gives "" and sets *missing; a file that
// exists but cannot be read (a folder, no permission) gives nothing, errno telling why.
std::optional<std::string> ReadFileBytes(const std::string& file, bool* missing);

// Replaces the file by bytes through a temporary file beside it (its name followed by
// ".tmp"): written, flushed to disk and renamed over the file, so a reader sees the old
// file or the new one, never a part of either. The new file keeps the old one's
// permissions and owner (where the owner may be set). Returns 0, or the errno of the
// failure, with the old file untouched and the temporary file removed. A symbolic link
// is followed: the file it names is replaced and the link stays. A file we may not write,
// or that has no write permission for anyone, is refused with EACCES (or access()'s errno).
int ReplaceFileBytes(const std::string& file, std::string_view bytes);
