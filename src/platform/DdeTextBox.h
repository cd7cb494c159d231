#pragma once

#include <QDBusConnection>
#include <QLineEdit>
#include <QString>

// The client end of a DDE conversation, kept as the link members of a (usually hidden)
// text box. DDE runs over the D-Bus session bus: a program serves a DDE application name
// by owning the bus name DdeServiceName(application) and answering the interface
// "org.penlark.Dde" on the object "/dde" (Initiate, Execute, Request, Terminate).
// The client never starts a program: every call is made without D-Bus activation.
// Every failure throws RuntimeError with the DDE error number:
//   282 no program serves the application, or it refuses the topic (on LinkMode = 2)
//   285 the server refuses the command or the item
//   286 a call outlasts LinkTimeout
//   291 the server has gone away
//   293 LinkExecute or LinkRequest while no conversation is open (LinkMode 0)
//   294 LinkTopic without "|" when LinkMode is set to 2
class DdeTextBox : public QLineEdit {
 public:
  explicit DdeTextBox(QWidget* parent = nullptr,
                      QDBusConnection bus = QDBusConnection::sessionBus());

  void SetBus(const QDBusConnection& bus) { bus_ = bus; }

  // 0 closes the conversation (when one is open); 2 opens one for LinkTopic, closing any
  // earlier one first.
  int LinkMode() const { return linkMode_; }
  void SetLinkMode(int mode);

  // "Application|topic".
  const QString& LinkTopic() const { return linkTopic_; }
  void SetLinkTopic(const QString& topic) { linkTopic_ = topic; }

  // In tenths of a second; 50 when never set.
  int LinkTimeout() const { return linkTimeout_; }
  void SetLinkTimeout(int tenths) { linkTimeout_ = tenths; }

  const QString& LinkItem() const { return linkItem_; }
  void SetLinkItem(const QString& item) { linkItem_ = item; }

  void LinkExecute(const QString& command);
  // Requests LinkItem; its value replaces the box's text.
  void LinkRequest();

  QString Text() const { return text(); }

 private:
  QDBusConnection bus_;
  QString service_;
  quint32 conversation_ = 0;
  int linkMode_ = 0;
  QString linkTopic_;
  int linkTimeout_ = 50;
  QString linkItem_;
};

// The bus name that serves a DDE application name ("Organize200" ->
// "org.penlark.dde.Organize200").
QString DdeServiceName(const QString& application);
