#pragma once

#include <QString>

class frmPenlark;
struct ProgramValues;

// The start-up sequence, in two phases. Phase 1 (configuration, profiles, recent
// settings): any run-time error shows the "Fatal Error" box ending in "Penlark will be
// closed." and ends the program. Phase 2 (the word processor, the Search rule): only the
// errors the connection tests for end the program.
void RunStartup(ProgramValues& pv, frmPenlark& form, const QString& programDir);
