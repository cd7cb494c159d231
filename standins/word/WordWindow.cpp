#include "WordWindow.h"

#include "LetterDocument.h"

#include "platform/AutomationContract.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStringDecoder>

std::optional<QString> ReadLetterFile(const QString& path, QString* error) {
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  if (!file.isOpen() || file.error() != QFileDevice::NoError) {
    *error = QStringLiteral("cannot read the letter %1: %2").arg(path, file.errorString());
    return std::nullopt;
  }
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(bytes);
  if (decoder.hasError()) {
    *error = QStringLiteral("the letter %1 is not UTF-8 text").arg(path);
    return std::nullopt;
  }
  return text;
}

WordWindow::WordWindow(const QString& dialectCaption, std::optional<QString> letterName,
                       const QString& letter)
    : editor_(new QPlainTextEdit(this)) {
  setCentralWidget(editor_);
  resize(640, 480);
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this, &WordWindow::AskForLetter);
  file->addSeparator();
  file->addAction(QStringLiteral("E&xit"), QKeySequence::Quit, this, &QWidget::close);
  if (letterName) {
    OpenLetter(*letterName, letter);
  } else {
    editor_->setReadOnly(true);
    editor_->setPlaceholderText(QStringLiteral("No document is open. Open a letter with File > Open."));
    setWindowTitle(QStringLiteral("penlark-word"));
  }
  statusBar()->showMessage(dialectCaption);
}

WordWindow::~WordWindow() = default;

void WordWindow::OpenLetter(const QString& letterName, const QString& letter) {
  // The old document's bookmarks go with it; the editor holds the new text first.
  auto opened = std::make_unique<LetterDocument>(*editor_, letterName, letter);
  document_ = std::move(opened);
  editor_->setReadOnly(false);
  setWindowTitle(letterName + QStringLiteral(" - penlark-word"));
}

void WordWindow::AskForLetter() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("Open Letter"), QString(),
      QStringLiteral("Letters (*.letter *.txt);;All files (*)"));
  if (path.isEmpty()) return;
  QString error;
  const std::optional<QString> letter = ReadLetterFile(path, &error);
  if (!letter) {
    QMessageBox::warning(this, QStringLiteral("penlark-word"), error);
    return;
  }
  OpenLetter(QFileInfo(path).fileName(), *letter);
  statusBar()->showMessage(QStringLiteral("Opened %1").arg(path));
}

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

void WordWindow::ShowCall(const QString& description) {
  // Every change is drawn as it happens; Qt gathers the changes of a burst of calls and
  // draws them at most once a frame. (Switching updates off over a burst, and on after a
  // pause, left the screen showing the letter as it was before the transfer.)
  statusBar()->showMessage(description);
}
