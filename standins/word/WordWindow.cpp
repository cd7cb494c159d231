#include "WordWindow.h"

#include "LetterDocument.h"

#include "platform/AutomationContract.h"

#include <QPlainTextEdit>
#include <QStatusBar>

WordWindow::WordWindow(const QString& dialectCaption, std::optional<QString> letterName,
                       const QString& letter)
    : editor_(new QPlainTextEdit(this)) {
  setCentralWidget(editor_);
  resize(640, 480);
  if (letterName) {
    document_ = std::make_unique<LetterDocument>(*editor_, *letterName, letter);
    setWindowTitle(*letterName + QStringLiteral(" - penlark-word"));
  } else {
    editor_->setReadOnly(true);
    editor_->setPlaceholderText(QStringLiteral("No document is open."));
    setWindowTitle(QStringLiteral("penlark-word"));
  }
  statusBar()->showMessage(dialectCaption);
}

WordWindow::~WordWindow() = default;

QString WordWindow::DocumentText() {
  if (!document_) {
    sendErrorReply(AutomationContract::ErrorPrefix + QStringLiteral("4248"),
                   QStringLiteral("This command is not available because no document is open."));
    return {};
  }
  return document_->Text();
}

void WordWindow::SaveScreenshot(const QString& path) {
  if (!grab().save(path, "PNG"))
    sendErrorReply(QDBusError::Failed, QStringLiteral("cannot write the picture %1").arg(path));
}

void WordWindow::ShowCall(const QString& description) { statusBar()->showMessage(description); }
