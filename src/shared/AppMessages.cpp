#include "shared/AppMessages.h"

#include "desktop/DesktopServices.h"
#include "shared/frmError1.h"
#include "runtime/RuntimeError.h"

#include <iterator>

namespace {
// Number 3 has no entry: it is the access-error window, not a box.
constexpr AppMessage kMessages[] = {
    {"Penlark Error", "An error has occured while trying to select an Organizer search index.",
     "Close Penlark and Organizer and try again."},
    {"Penlark Error", "There is an inconsistency in the PENLARK.INI file.",
     "Deleting this file is recommended,"},
    {nullptr, nullptr, nullptr},
    {"Blank Address Profile", "No Address Profile has been selected.",
     "Please select an Address Profile."},
    {"Address Data Change Detected", "The Organizer address data has changed.",
     "Please search for the addressee again to ensure you are using the most current address "
     "data."},
};
}  // namespace

const AppMessage* FindAppMessage(int number) {
  if (number < 1 || number > static_cast<int>(std::size(kMessages)) ||
      number == AppMessageNumber::AccessError)
    return nullptr;
  return &kMessages[number - 1];
}

void ShowAppError(DesktopServices& desktop, int number) {
  desktop.SetMousePointer(Pointer::Default);
  if (number == AppMessageNumber::AccessError) {
    frmError1 form;
    desktop.ShowModal(form);
    return;
  }
  const AppMessage* message = FindAppMessage(number);
  if (!message) return;
  const QString text = QString::fromLatin1(message->first) + QStringLiteral("\n\r\n\r") +
                       QString::fromLatin1(message->second);
  desktop.MsgBox(text, MsgStyle::OkOnly + MsgStyle::Exclamation,
                 QString::fromLatin1(message->title));
}

void ShowClosingError(DesktopServices& desktop, int number, const QString& description) {
  desktop.SetMousePointer(Pointer::Default);
  desktop.MsgBox(QStringLiteral("Error") + StrNumber(number) + QStringLiteral(", ") + description +
                     QStringLiteral(" has occured.\n\r\n\rPenlark will be closed."),
                 MsgStyle::OkOnly + MsgStyle::Critical, QStringLiteral("Fatal Error"));
  desktop.EndProgram();
}
