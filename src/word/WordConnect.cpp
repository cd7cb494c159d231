#include "word/WordConnect.h"

#include "contract/ErrorNumbers.h"
#include "runtime/RuntimeError.h"
#include "shared/ProgramValues.h"

namespace {

// Start-up's rule here: an operation's error is recorded, not raised, and looked at only
// where the connection depends on it.
struct Recorded {
  int number = 0;
  QString description;
};

template <typename Operation>
Recorded Try(Operation&& operation) {
  try {
    operation();
    return {};
  } catch (const RuntimeError& error) {
    return {error.number(), error.description()};
  }
}

[[noreturn]] void EndWith(ProgramValues& pv, const QString& text, int style, const QString& title) {
  pv.desktop.MsgBox(text, style, title);
  pv.desktop.EndProgram();
}

[[noreturn]] void StartError(ProgramValues& pv, const QString& prefix, const Recorded& error) {
  EndWith(pv, prefix + StrNumber(error.number) + error.description, MsgStyle::OkOnly,
          QStringLiteral("Fatal Error"));
}

}  // namespace

void ConnectToWord(ProgramValues& pv) {
  Recorded error =
      Try([&pv] { pv.WordApp = GetRunningObject(QStringLiteral("Word.Application.8"), pv.bus); });

  if (error.number == 0) {
    Try([&pv] {
      pv.WordVersion =
          pv.WordApp.GetObject(QStringLiteral("Application")).Get(QStringLiteral("Version")).toString();
    });
    error = Try([&pv] { pv.WordApp.Get(QStringLiteral("ActiveDocument")).toString(); });
    if (error.number == ErrorNumber::WordWindowNoDocument)
      EndWith(pv,
              QStringLiteral("There is no Word document active.\r\n\r\n"
                             "Please open a Word document before running Penlark."),
              MsgStyle::OkOnly + MsgStyle::Critical, QStringLiteral("No Document Active"));
    return;
  }

  if (error.number == ErrorNumber::CannotCreateObject) {
    if (FindWindowA(QStringLiteral("OpusApp"), QString(), pv.bus) == 0)
      EndWith(pv,
              QStringLiteral("Penlark cannot be run without Microsoft Word for Windows.\r\n\r\n"
                             "Please start Word before running Penlark."),
              MsgStyle::OkOnly + MsgStyle::Critical, QStringLiteral("Microsoft Word Not Running"));
    error = Try([&pv] { pv.WordApp = CreateAutomationObject(QStringLiteral("Word.Basic"), pv.bus); });
    if (error.number != 0) StartError(pv, QStringLiteral("Word 6 start error:  "), error);
    pv.WordVersion = QStringLiteral("6");
    return;
  }

  StartError(pv, QStringLiteral("Word 8 start error:  "), error);
}
