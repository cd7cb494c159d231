#pragma once

#include "WriterConnection.h"
#include "WriterText.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

// The office penlark-writer stands in front of, over the time it runs: waited for until it
// listens, connected to, and waited for again when it ends or drops the connection. Calls
// come in bursts (a transfer is a quick run of go-tos and insertions); one burst works on
// one LetterEditing, which ends when no call has come for kBurstEnd, or when a go-to comes
// to a bookmark the burst has gone to already (the next transfer begins), and is then one
// undo step in Writer, laid out and with the selection shown.
class OfficeSession : public QObject {
  Q_OBJECT

 public:
  static constexpr int kBurstEnd = 150;     // ms without a call
  static constexpr int kRetryEvery = 500;   // ms between attempts to connect

  OfficeSession(QString description, QObject* parent);
  ~OfficeSession() override;

  // Tries to connect now and, failing that, every kRetryEvery.
  void Start();
  bool Connected() const { return connection_ != nullptr; }
  const QString& Description() const { return description_; }
  // The connection; nullptr while none is open.
  const WriterConnection* Connection() const { return connection_.get(); }

  // The current burst's editing of the current text document, begun with this call if
  // none is under way; nullptr when no text document is open. Throws AutomationFault 440
  // when no office is connected; may throw css::uno::Exception.
  LetterEditing* Edit();
  // Ends the burst under way at once.
  void EndBurst();
  // After a call the office failed: ends the burst and looks the document up afresh.
  void Failed();

 Q_SIGNALS:
  void Opened();
  // The office has ended or dropped the connection.
  void Lost();
  // The first attempt to connect failed; *why* says why.
  void Waiting(const QString& why);

 private:
  void TryConnect();
  void OnLost();

  QString description_;
  std::unique_ptr<WriterConnection> connection_;
  QTimer retry_, burstEnd_;
  bool waitingTold_ = false;
  unsigned connections_ = 0;
  DocumentHandles handles_;
  unsigned handlesGeneration_ = 0;
  std::unique_ptr<LetterEditing> editing_;
  unsigned editingGeneration_ = 0;
};
