#include "WordWindow.h"

#include "LetterDocument.h"

#include "AutomationContract.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTimer>

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

namespace {
// A frame: how long a burst of calls goes undrawn at most.
constexpr int kFrameMs = 16;
}  // namespace

WordWindow::WordWindow(const QString& dialectCaption, std::optional<QString> letterName,
                       const QString& letter)
    : editor_(new QPlainTextEdit(this)), frame_(new QTimer(this)) {
  frame_->setSingleShot(true);
  frame_->setInterval(kFrameMs);
  connect(frame_, &QTimer::timeout, this, &WordWindow::DrawPage);
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
  DrawPage();  // so the picture shows the last call
  if (!grab().save(path, "PNG"))
    sendErrorReply(QDBusError::Failed, QStringLiteral("cannot write the picture %1").arg(path));
}

void WordWindow::ShowCall(const QString& description) {
  statusBar()->showMessage(description);
  // A transfer is a burst of some fifty calls, and drawing the page after each one costs
  // more than the calls themselves. So the page is drawn once a frame while calls come,
  // each change shown within a frame of it, as a screen catches up with fast typing.
  if (!editor_->updatesEnabled()) return;
  editor_->setUpdatesEnabled(false);
  frame_->start();
}

void WordWindow::DrawPage() {
  frame_->stop();
  if (editor_->updatesEnabled()) return;
  // Only the editor's updates go off: switched off for the whole window, they came back
  // on without the window being drawn again, and the screen kept the unfilled letter.
  editor_->setUpdatesEnabled(true);
  editor_->repaint();  // now, before the next call of the burst switches them off again
}
