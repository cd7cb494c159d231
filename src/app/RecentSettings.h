#pragma once

struct ProgramValues;

// Finishes the run: writes "Recent Settings" "Search By" ("True" when the surname option
// is on, else "False") and then "Address Profile" (the profile box's text), drops the
// word-processor reference and ends the program. Does not return. A write that fails has
// told the user; the writes stop there and the program still ends.
[[noreturn]] void SaveRecentSettings(ProgramValues& pv);
