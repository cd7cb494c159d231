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

// Where PENLARK.INI is kept: programDir + "/PENLARK.INI" (the folder text taken as it is, a
// trailing separator not corrected) when that folder already holds one or can be written.
// DEVIATION: a program installed for every user of the machine sits in a folder only root
// may write, so each person then keeps their own file in $XDG_CONFIG_HOME/penlark
// (~/.config/penlark when XDG_CONFIG_HOME is unset or not absolute), a platform adaptation
// like the path separator. That folder is made by the first write (MakeConfigFolder).
QString ConfigFileLocation(const QString& programDir);

// Before a write to path: makes the person's own configuration folder when path is the
// file in it and the folder is missing. Any other path is left alone, so a missing program
// folder stays a failure to save. False when the folder could not be made.
bool MakeConfigFolder(const QString& path);
