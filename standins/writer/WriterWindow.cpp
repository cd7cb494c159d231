#include "WriterWindow.h"

#include "WriterConnection.h"

WriterWindow::WriterWindow(const WriterConnection& writer, QObject* parent)
    : QObject(parent), writer_(writer) {}

QString WriterWindow::Title() const {
  try {
    return writer_.WindowTitle();
  } catch (const css::uno::Exception&) {
    return QStringLiteral("LibreOffice");
  }
}
