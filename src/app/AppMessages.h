#pragma once

struct ProgramValues;

// Reports one of the five numbered conditions, after setting the pointer to the arrow:
//   1 "Penlark Error": the search index could not be selected
//   2 "Penlark Error": PENLARK.INI is inconsistent
//   3 no box: the access-error window frmError1, shown modally
//   4 "Blank Address Profile": no profile selected
//   5 "Address Data Change Detected"
// The boxes are OK boxes with the exclamation icon; the two sentences are joined by the
// characters 10, 13, 10, 13. Returns when the box or the window has been closed.
void ShowAppError(ProgramValues& pv, int number);

// The text of message 1, 2, 4 or 5 and its title.
struct AppMessage {
  const char* title;
  const char* first;
  const char* second;
};
const AppMessage* FindAppMessage(int number);
