#pragma once

#include "ChildProcesses.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A vCard 3.0 of a name, with the UID a server files it under.
inline QByteArray Card(const QByteArray& uid, const QByteArray& family, const QByteArray& given) {
  return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nN:" + family + ";" + given + ";;;\r\nFN:" + given + " " +
         family + "\r\nEND:VCARD\r\n";
}

// Cards c00000, c00001, ... of Ann Name00000, Ann Name00001, ...
inline QByteArray NumberedCards(int count) {
  QByteArray cards;
  for (int i = 0; i < count; ++i) {
    const QByteArray n = QByteArray::number(i).rightJustified(5, '0');
    cards += Card("c" + n, "Name" + n, "Ann");
  }
  return cards;
}

// A real Radicale on a free loopback port with its own configuration, storage and password
// file (user "anna", password "secret"); stopped when it goes. Its writes skip fsync where
// eatmydata is installed: the 10,000-card upload takes minutes with them.
class Radicale {
 public:
  explicit Radicale(const QString& dir) {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost)) return;
    port_ = probe.serverPort();
    probe.close();
    WriteBytes(dir + "/users", "anna:secret\n");
    WriteBytes(dir + "/config", QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\n"
                                          "htpasswd_filename = %2/users\nhtpasswd_encryption = plain\n"
                                          "[storage]\nfilesystem_folder = %2/storage\n[rights]\ntype = owner_only\n"
                                          "[web]\ntype = none\n").arg(port_).arg(dir).toUtf8());
    QStringList command{QStringLiteral("radicale"), QStringLiteral("--config"), dir + "/config"};
    if (!QStandardPaths::findExecutable(QStringLiteral("eatmydata")).isEmpty()) command.prepend("eatmydata");
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    EndWithTest(process_);
    process_.start(command.takeFirst(), command);
    for (QDeadlineTimer deadline(15000); !deadline.hasExpired(); QThread::msleep(100)) {
      QTcpSocket socket;
      socket.connectToHost(QHostAddress::LocalHost, port_);
      if (socket.waitForConnected(500)) return;
      if (process_.state() == QProcess::NotRunning) break;
    }
    port_ = 0;
  }
  ~Radicale() { Stop(); }

  bool ok() const { return port_ != 0; }
  QString Url(const QString& path = QStringLiteral("/")) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
  }
  // PUT as anna: a whole address book to a new collection path, or one card; the status.
  int Put(const QString& path, const QByteArray& vcards) {
    return Send("PUT", path, vcards, QByteArrayLiteral("text/vcard"));
  }
  // Any request as anna; the status, and the answer in *answer when given.
  int Send(const QByteArray& verb, const QString& path, const QByteArray& body, const QByteArray& type,
           QByteArray* answer = nullptr, const QByteArray& depth = {}) {
    QNetworkRequest request{QUrl(Url(path))};
    request.setHeader(QNetworkRequest::ContentTypeHeader, type);
    request.setRawHeader("Authorization", "Basic " + QByteArray("anna:secret").toBase64());
    if (!depth.isEmpty()) request.setRawHeader("Depth", depth);
    request.setTransferTimeout(300000);
    QNetworkReply* reply = network_.sendCustomRequest(request, verb, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->deleteLater();
    if (answer) *answer = reply->readAll();
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  }
  void Signal(int signal) { ::kill(static_cast<pid_t>(process_.processId()), signal); }
  void Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    Signal(SIGCONT);
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    process_.waitForFinished(1000);
  }

 private:
  QProcess process_;
  quint16 port_ = 0;
  QNetworkAccessManager network_;
};

