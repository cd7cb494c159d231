#include "organizer/TrapMessage.h"

#include "shared/ProgramValues.h"
#include "runtime/RuntimeError.h"

QString TrapMessageText(const QString& module, const RuntimeError& error) {
  const QString number = QString::number(error.number());
  return QStringLiteral("Error ") + number + QStringLiteral(" has occured in module \"") +
         module + QStringLiteral("\"\n\r\n\r") + number + QStringLiteral(" - ") +
         error.description();
}

void ShowTrapError(ProgramValues& pv, const QString& module, const RuntimeError& error) {
  pv.desktop.MsgBox(TrapMessageText(module, error), MsgStyle::OkOnly + MsgStyle::Critical,
                    QStringLiteral("Fatal Error"));
}
