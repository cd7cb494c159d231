#pragma once

#include <QObject>
#include <QString>

// The floor's other end: a second process on the bus that answers a call shaped like a
// DDE request (a number and an item name in, a short text out) and does nothing else.
inline const QString kEchoService = QStringLiteral("org.penlark.bench.Echo");
inline const QString kEchoPath = QStringLiteral("/echo");
inline const QString kEchoInterface = QStringLiteral("org.penlark.bench.Echo");

class EchoPeer : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.penlark.bench.Echo")

 public Q_SLOTS:
  QString Echo(uint conversation, const QString& item) {
    Q_UNUSED(conversation);
    Q_UNUSED(item);
    return QStringLiteral("Lee");
  }
};

// penlark-bench --echo: serves the peer on the session bus until it is ended.
int RunEchoPeer(int argc, char** argv);
