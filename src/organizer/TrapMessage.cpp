#include "organizer/TrapMessage.h"

#include "platform/RuntimeError.h"

QString TrapMessageText(const QString& module, const RuntimeError& error) {
  const QString number = QString::number(error.number());
  return QStringLiteral("Error ") + number + QStringLiteral(" has occured in module \"") +
         module + QStringLiteral("\"\n\r\n\r") + number + QStringLiteral(" - ") +
         error.description();
}
