#pragma once

#include <QString>

// major "." minor "." revision, each in decimal without blanks or leading zeros
// (4, 1, 3 gives "4.1.3"; a revision of 0 is kept: "4.1.0").
QString VersionText(int major, int minor, int revision);

// The version of this build, as the About window shows it.
QString ProgramVersionText();
