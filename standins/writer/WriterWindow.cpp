#include "WriterWindow.h"

#include "OfficeSession.h"

WriterWindow::WriterWindow(const OfficeSession& office, QObject* parent)
    : QObject(parent), office_(office) {}

QString WriterWindow::Title() const {
  try {
    if (const WriterConnection* connection = office_.Connection()) return connection->WindowTitle();
  } catch (const css::uno::Exception&) {
  }
  return QStringLiteral("LibreOffice");
}
