#pragma once

#include "contract/DdeContract.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QLineEdit>
#include <QString>
#include <QVariantList>

// The client end of a DDE conversation, kept as the link members of a (usually hidden)
// text box. DDE runs over the D-Bus session bus: a program serves a DDE application name
// by owning the bus name DdeServiceName(application) and answering the interface
// "org.penlark.Dde" on the object "/dde" (Initiate, Execute, Request, Terminate).
// The contract is dbus/org.penlark.Dde.xml. The client never starts a program: every
// message goes without D-Bus activation, and who owns the name is asked first. Once a
// conversation is open its calls go to the server's unique name, so a server that has
// been restarted in between counts as gone, not as the same partner.
// Every failure throws RuntimeError with the DDE error number:
//   282 no program serves the application, it refuses the topic, or it does not answer
//       the initiate (on LinkMode = 2); LinkMode stays 0
//   285 the server refuses the command or the item
//   286 a call outlasts LinkTimeout while the server is still on the bus
//   291 the server has gone away
//   292 the server no longer knows the conversation
//   293 LinkExecute or LinkRequest while no conversation is open (LinkMode 0)
//   294 LinkTopic without "|" when LinkMode is set to 2
//     5 a LinkMode other than 0 and 2 (automatic and notify links are not provided)
class DdeTextBox : public QLineEdit {
 public:
  explicit DdeTextBox(QWidget* parent = nullptr,
                      QDBusConnection bus = QDBusConnection::sessionBus());
  ~DdeTextBox() override;  // ends an open conversation

  void SetBus(const QDBusConnection& bus) { bus_ = bus; }

  // 0 closes the conversation (when one is open; the server is told without waiting for
  // it); 2 opens one for LinkTopic, closing any earlier one first.
  int LinkMode() const { return linkMode_; }
  void SetLinkMode(int mode);

  // "Application|topic".
  const QString& LinkTopic() const { return linkTopic_; }
  void SetLinkTopic(const QString& topic) { linkTopic_ = topic; }

  // In tenths of a second, the longest any one call may take; 50 when never set. Zero or
  // less waits the longest, 65535 tenths.
  int LinkTimeout() const { return linkTimeout_; }
  void SetLinkTimeout(int tenths) { linkTimeout_ = tenths; }

  const QString& LinkItem() const { return linkItem_; }
  void SetLinkItem(const QString& item) { linkItem_ = item; }

  void LinkExecute(const QString& command);
  // Requests LinkItem; its value replaces the box's text.
  void LinkRequest();

  QString Text() const { return text(); }

  // True while a conversation is open and the application's bus name is now owned by
  // another program than the one the conversation is with (an address book restarted).
  // A name that nobody owns is not "replaced": the next call then reports 291.
  bool ServerReplaced() const;

 private:
  void Close();
  int TimeoutMs() const;
  QDBusMessage Call(const QString& method, const QVariantList& arguments) const;
  [[noreturn]] void ThrowCallError(const QString& errorName) const;

  QDBusConnection bus_;
  QString service_;      // the server's unique name while a conversation is open
  QString serviceName_;  // and the bus name it was reached by
  quint32 conversation_ = 0;
  int linkMode_ = 0;
  QString linkTopic_;
  int linkTimeout_ = 50;
  QString linkItem_;
};

// DdeServiceName(application), the bus name that serves it, is in contract/DdeContract.h.
