#pragma once

#include <QString>

struct ProgramValues;

// The stored data file path as DDE topic (OrganizerTopic), "" when the user declines to
// configure one. Asks about a missing setting and opens the Options window on Yes; on an
// unreachable file asks again for as long as the user answers Yes, and ends the program
// on No. Leaves the hourglass set.
QString CheckOrganizerFile(ProgramValues& pv);

// The configured Address Section name, "" when none; asks about a missing one and opens
// the Options window on Yes.
QString CheckAddressSection(ProgramValues& pv);

// What the Options window holds when OK is pressed.
struct OptionsEntry {
  QString filePath;
  QString addressSection;
  bool skipBlankFields = false;
};

// Saves the Options window's values in section "Options": what is not blank, telling the
// user once when the path or the section is blank; refreshes pv.OrganizerFilePath (as DDE
// topic) and pv.AddressSectionName for the values it wrote, and marks the address-book
// link closed. After a failed write (the user has been told) nothing more is written.
void SaveOptions(ProgramValues& pv, const OptionsEntry& entry);

// The short form of a path; "" when the system gives none.
QString ShortPathName(const QString& path);

// A data file path as DDE topic: the short form for an .OR2 file (the extension in any
// case), the path itself for any other.
QString OrganizerTopic(const QString& path);
