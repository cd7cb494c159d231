#pragma once

#include <QString>

class DesktopServices;

// Checks a profile or bookmark name: not empty unless allowEmpty, at most 32
// characters, only the letters A-Z and a-z, and blanks when allowBlanks. When it fails,
// the first failing rule is told in an "Invalid Name" box (style 48) and false returned.
bool ValidateProfileName(DesktopServices& desktop, const QString& name, bool allowBlanks,
                         bool allowEmpty);

// Checks the name of a new profile of the configuration file: not the name of a stored
// one (a "Duplicate Address Profile Name" box), then the rules above with blanks allowed.
// False after telling the user.
bool CheckNewProfileName(DesktopServices& desktop, const QString& configFile, const QString& name);
