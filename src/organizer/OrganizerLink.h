#pragma once

struct ProgramValues;

// Opens the DDE conversation on pv.main.txtOrganizerPipe with the topic
// "Organize200|" + OrganizerFilePath and selects AddressSectionName in it. True (and
// OrganizerLinkOpen set) on success; on failure the user has been told (282: the
// access-error window; else a "Fatal Error" box) and false is returned.
bool SetupOrganizerLink(ProgramValues& pv);
