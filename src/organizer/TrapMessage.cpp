#include "organizer/TrapMessage.h"

#include "desktop/DesktopServices.h"
#include "runtime/RuntimeError.h"

QString TrapMessageText(const QString& module, const RuntimeError& error) {
  const QString number = QString::number(error.number());
  return QStringLiteral("Error ") + number + QStringLiteral(" has occured in module \"") +
         module + QStringLiteral("\"\n\r\n\r") + number + QStringLiteral(" - ") +
         error.description();
}

void ShowTrapError(DesktopServices& desktop, const QString& module, const RuntimeError& error) {
  desktop.MsgBox(TrapMessageText(module, error), MsgStyle::OkOnly + MsgStyle::Critical,
                 QStringLiteral("Fatal Error"));
}
