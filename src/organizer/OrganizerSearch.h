#pragma once

#include <QString>

class DdeTextBox;
class DesktopServices;
struct ProgramValues;

// Searches the address book for the main window's search text, by surname or company,
// and lists up to ten matches in pv.main.lstAddressee ("First Last, Company", untrimmed,
// in the address book's order). The link is set up first while OrganizerLinkOpen is
// false. True when at least one was listed; then LastSearchText and LastSearchBySurname
// hold the search and the first entry is selected. Nothing found: a "Name not found" box
// (shown under the hourglass), the search text selected, list and remembered values kept.
// A failed index selection: message 1. A run-time error: a "Fatal Error" box naming
// "SearchOrganizer."; one inside the listing leaves the list empty and disabled with
// Finished and More (DEVIATION, see the source). A link whose address book has gone or
// been replaced is set up afresh by the next search (ForgetLostLink). The pointer is the hourglass throughout and the arrow at the end.
// After the tenth entry one more next-match step is made, as after every entry.
// DEVIATION: a search text holding a double quote is refused in a "Penlark Error" box
// before anything is sent or the pointer changes (it would end the command's argument
// early and run the rest as command text); false is returned.
bool SearchOrganizer(ProgramValues& pv);

// The DDE commands, exactly as sent.
QString SelectIndexCommand(bool bySurname);        // [SelectIndex("LastName")] / [SelectIndex("Company")]
QString FindCommand(const QString& text);          // [Find("text")]
QString FindNextCommand();                         // [Find("<NEXT>")]

// Requests an item on the conversation and returns the reply text.
QString RequestItem(DdeTextBox& pipe, const QString& item);
// What "RESULT" holds after a find or next-match step that found nothing.
constexpr long long kNoMatch = -1;

// Requests "RESULT" and reads it as a decimal number (blanks around it allowed).
// DEVIATION: a reply that is not one (empty included) is a failure of the address book,
// never a match or a success: it throws RuntimeError 290 ("Data in wrong format").
long long RequestResult(DdeTextBox& pipe);

// The search's steps, shared with the transfers, which repeat them: selecting the index,
// finding the text, stepping to the next match. The two finds request "RESULT" after
// their command and say whether it found a match.
void SelectIndex(DdeTextBox& pipe, bool bySurname);
bool FindFirst(DdeTextBox& pipe, const QString& text);
bool FindNext(DdeTextBox& pipe);

// Steps the address book to the match at position (0: the first) of a search again, as the
// transfers do; false when it no longer yields that many.
bool FindMatchAgain(DdeTextBox& pipe, const QString& text, bool bySurname, int position);

// True when the text can be sent as a quoted command argument (it holds no double
// quote). When it cannot, the user is told in a "Penlark Error" box (OK, exclamation)
// naming what it is (what: "search text", "Address Section name") and false is
// returned. The pointer is left as it is.
bool CheckCommandArgument(DesktopServices& desktop, const QString& text, const QString& what);
