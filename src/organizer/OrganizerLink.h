#pragma once

#include <QString>

class RuntimeError;
struct ProgramValues;

// Opens the DDE conversation on pv.main.txtOrganizerPipe with the topic
// "Organize200|" + OrganizerFilePath and selects AddressSectionName in it (no "RESULT"
// is asked after it). True (and OrganizerLinkOpen set) on success; on failure the user
// has been told (282: the access-error window; else a "Fatal Error" box naming
// "SetupOrganizerLink.") and false is returned, OrganizerLinkOpen unchanged.
// DEVIATION: a section name holding a double quote would end the command's argument
// early and smuggle in the rest as command text; it is refused in a "Penlark Error" box
// before anything is sent (CheckCommandArgument) and false is returned.
bool SetupOrganizerLink(ProgramValues& pv);

// [SelectSection("name")], exactly as sent.
QString SelectSectionCommand(const QString& section);

// DEVIATION: a conversation whose address book has ended (291) or no longer knows it (292)
// cannot be used again; the link is marked closed, so that the next search sets it up
// afresh instead of failing on the dead conversation until Options' OK or a restart.
void ForgetLostLink(ProgramValues& pv, const RuntimeError& error);
