#pragma once

#include <QString>

// Asks the file system for the file's (or folder's) date and time of last modification;
// the value is not returned. Throws RuntimeError 53 when the file is missing (its folder
// exists), 76 when its folder cannot be reached (missing, a part of the path not a folder,
// no right to pass, a loop of links, too long), and 75 for any other failure (an empty
// path, the file system failing).
void ProbeFileDateTime(const QString& path);

// The short form of a path. Linux has no 8.3 names, so an existing file's short form is
// its path as given; a missing file, or an empty path, has none and gives "".
QString GetShortPathName(const QString& path);
