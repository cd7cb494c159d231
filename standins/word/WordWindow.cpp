#include "WordWindow.h"

#include "LetterDocument.h"

#include "AutomationContract.h"

#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>

namespace {
// How long the window waits for the next call of a burst before it draws itself.
constexpr int kRedrawPauseMs = 50;
}  // namespace

WordWindow::WordWindow(const QString& dialectCaption, std::optional<QString> letterName,
                       const QString& letter)
    : editor_(new QPlainTextEdit(this)), redraw_(new QTimer(this)) {
  redraw_->setSingleShot(true);
  redraw_->setInterval(kRedrawPauseMs);
  connect(redraw_, &QTimer::timeout, this, [this] { setUpdatesEnabled(true); });
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
  // A burst still waiting to be drawn is drawn now, so the picture shows the last call.
  redraw_->stop();
  setUpdatesEnabled(true);
  if (!grab().save(path, "PNG"))
    sendErrorReply(QDBusError::Failed, QStringLiteral("cannot write the picture %1").arg(path));
}

void WordWindow::ShowCall(const QString& description) {
  statusBar()->showMessage(description);
  // A transfer is a burst of some fifty calls; drawing the page after each one cost more
  // than the calls themselves, so the window is drawn once the burst pauses, as a word
  // processor's screen catches up with fast changes.
  if (updatesEnabled()) setUpdatesEnabled(false);
  redraw_->start();
}
