#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// A private D-Bus session bus for one test: its own dbus-daemon, a connection to it and
// the stand-in programs started on it. Everything it started is stopped when it goes.
class PrivateBus {
 public:
  PrivateBus();  // starts the daemon and connects; ok() tells whether it worked
  ~PrivateBus();
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  bool ok() const { return connection_.isConnected(); }
  const QString& address() const { return address_; }
  QDBusConnection connection() const { return connection_; }

  // Starts a program with this bus as its session bus and waits (up to 10 s) until it
  // owns waitForName; returns it, or nullptr (with its output in lastError()) when it
  // exited or never took the name. environment defaults to Environment().
  QProcess* Start(const QString& program, const QStringList& arguments, const QString& waitForName,
                  const QProcessEnvironment* environment = nullptr);
  // Starts a program and waits for it to finish; its exit code, output in *out.
  int Run(const QString& program, const QStringList& arguments, QString* out = nullptr,
          QString* err = nullptr, int timeoutMs = 10000);

  // Ends a started program with SIGTERM and waits for it.
  void Stop(QProcess* process);
  bool HasName(const QString& name) const;
  // Waits until nobody owns the name (up to 5 s).
  bool WaitNameGone(const QString& name) const;

  const QString& lastError() const { return lastError_; }
  QProcessEnvironment Environment() const;

 private:
  QProcess daemon_;
  QString address_;
  QString connectionName_;
  QDBusConnection connection_ = QDBusConnection(QString());
  std::vector<std::unique_ptr<QProcess>> processes_;
  QString lastError_;
};
