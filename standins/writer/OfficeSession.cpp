#include "OfficeSession.h"

#include "AutomationTarget.h"

OfficeSession::OfficeSession(QString description, QObject* parent)
    : QObject(parent), description_(std::move(description)) {
  retry_.setInterval(kRetryEvery);
  connect(&retry_, &QTimer::timeout, this, &OfficeSession::TryConnect);
  burstEnd_.setSingleShot(true);
  burstEnd_.setInterval(kBurstEnd);
  connect(&burstEnd_, &QTimer::timeout, this, &OfficeSession::EndBurst);
}

OfficeSession::~OfficeSession() { EndBurst(); }

void OfficeSession::Start() {
  TryConnect();
  if (!connection_) retry_.start();
}

void OfficeSession::TryConnect() {
  QString error;
  // The bridge tells of its end on a thread of its own; the session hears of it in the
  // event loop. A connection already replaced by a newer one is not lost.
  const auto lost = [this, generation = ++connections_] {
    QMetaObject::invokeMethod(this, [this, generation] {
      if (generation == connections_) OnLost();
    }, Qt::QueuedConnection);
  };
  connection_ = WriterConnection::Open(description_, &error, lost);
  if (!connection_) {
    if (!waitingTold_) Q_EMIT Waiting(error);
    waitingTold_ = true;
    return;
  }
  retry_.stop();
  waitingTold_ = false;
  Q_EMIT Opened();
}

void OfficeSession::OnLost() {
  if (!connection_) return;
  // Nothing of the burst can be closed in an office that has gone.
  burstEnd_.stop();
  editing_.reset();
  handles_ = {};
  connection_.reset();
  Q_EMIT Lost();
  waitingTold_ = true;
  retry_.start();
}

LetterEditing* OfficeSession::Edit() {
  if (!connection_) throw AutomationFault{440, QStringLiteral("Automation error")};
  // A document opened, closed or brought to the front since the burst began ends it.
  if (editing_ && editingGeneration_ != connection_->Generation()) EndBurst();
  if (!editing_) {
    const unsigned generation = connection_->Generation();
    if (handlesGeneration_ != generation || !handles_.document.is()) {
      handles_ = DocumentHandles{connection_->CurrentTextDocument()};
      handlesGeneration_ = generation;
    }
    if (!handles_.document.is()) return nullptr;
    editing_ = std::make_unique<LetterEditing>(handles_);
    editingGeneration_ = generation;
  }
  burstEnd_.start();
  return editing_.get();
}

void OfficeSession::EndBurst() {
  burstEnd_.stop();
  if (!editing_) return;
  const std::unique_ptr<LetterEditing> ending = std::move(editing_);
  try {
    ending->Finish();
  } catch (const css::uno::Exception&) {
    // A document closed in between takes its undo step and selection with it.
  }
}

void OfficeSession::Failed() {
  EndBurst();
  handles_ = {};
}
