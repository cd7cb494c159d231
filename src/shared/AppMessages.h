#pragma once

#include <QString>

class DesktopServices;

// The numbers of the numbered conditions.
namespace AppMessageNumber {
constexpr int NoSearchIndex = 1;
constexpr int IniInconsistent = 2;
constexpr int AccessError = 3;
constexpr int NoProfileSelected = 4;
constexpr int AddressDataChanged = 5;
}  // namespace AppMessageNumber

// Reports one of the five numbered conditions, after setting the pointer to the arrow:
//   1 "Penlark Error": the search index could not be selected
//   2 "Penlark Error": PENLARK.INI is inconsistent
//   3 no box: the access-error window frmError1, shown modally
//   4 "Blank Address Profile": no profile selected
//   5 "Address Data Change Detected"
// The boxes are OK boxes with the exclamation icon; the two sentences are joined by the
// characters 10, 13, 10, 13. Returns when the box or the window has been closed.
void ShowAppError(DesktopServices& desktop, int number);

// The "Fatal Error" box of a run-time error that closes the program:
// "Error 75, Path/File access error has occured." + 10, 13, 10, 13 + "Penlark will be closed."
// (style 16), then the end of the program.
[[noreturn]] void ShowClosingError(DesktopServices& desktop, int number, const QString& description);

// The text of message 1, 2, 4 or 5 and its title.
struct AppMessage {
  const char* title;
  const char* first;
  const char* second;
};
const AppMessage* FindAppMessage(int number);
