#pragma once

#include <QString>

struct ProgramValues;

// Searches the address book for the main window's search text, by surname or company,
// and lists up to ten matches in pv.main.lstAddressee. True when at least one was
// listed; then LastSearchText and LastSearchBySurname hold the search.
bool SearchOrganizer(ProgramValues& pv);

// The DDE commands, exactly as sent.
QString SelectIndexCommand(bool bySurname);        // [SelectIndex("LastName")] / [SelectIndex("Company")]
QString FindCommand(const QString& text);          // [Find("text")]
QString FindNextCommand();                         // [Find("<NEXT>")]

// Requests an item on the conversation and returns the reply text.
QString RequestItem(ProgramValues& pv, const QString& item);
// Requests "RESULT" and reads it as a decimal number; a reply that is not one throws
// RuntimeError 290 ("Data in wrong format").
long long RequestResult(ProgramValues& pv);

// True when the text can be sent as a quoted command argument (it holds no double
// quote). When it cannot, the user is told in a "Penlark Error" box naming what it is
// (what: "search text", "Address Section name") and false is returned.
bool CheckCommandArgument(ProgramValues& pv, const QString& text, const QString& what);
