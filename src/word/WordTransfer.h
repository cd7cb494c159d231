#pragma once

#include <QString>

struct ProgramValues;

// Writes the addressee at position (0 for the first match; -1 counts as 0) of the
// remembered search into the active document, through the profile named in the main
// window's profile box. True when the rows were processed to the end or to a
// "(-None-)" row; false when the transfer was abandoned (the user has been told why).
bool TransferWord8(ProgramValues& pv, const QString& searchText, bool bySurname, int position);
bool TransferWordBasic(ProgramValues& pv, const QString& searchText, bool bySurname, int position);

// The stored separator decoded for the letter: "_" a blank, "¶" (182) a paragraph break
// (13), "»" (187) a tab (9), any other character itself.
QString DecodeSeparator(const QString& stored);
