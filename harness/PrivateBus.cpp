#include "PrivateBus.h"

#include "ChildProcesses.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QThread>

#include <atomic>

namespace {
std::atomic<int> busCount{0};
}

PrivateBus::PrivateBus() {
  daemon_.setProgram(QStringLiteral("dbus-daemon"));
  daemon_.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1"), QStringLiteral("--nopidfile")});
  EndWithTest(daemon_);
  daemon_.start();
  if (!daemon_.waitForStarted(5000)) {
    lastError_ = QStringLiteral("dbus-daemon did not start");
    return;
  }
  QDeadlineTimer deadline(5000);
  QByteArray line;
  while (!deadline.hasExpired() && !line.contains('\n')) {
    daemon_.waitForReadyRead(100);
    line += daemon_.readAllStandardOutput();
  }
  address_ = QString::fromUtf8(line).trimmed();
  connectionName_ = QStringLiteral("penlark-test-bus-%1").arg(busCount++);
  connection_ = QDBusConnection::connectToBus(address_, connectionName_);
}

PrivateBus::~PrivateBus() {
  for (auto& p : processes_) {
    if (p->state() != QProcess::NotRunning) {
      p->terminate();
      if (!p->waitForFinished(3000)) {
        p->kill();
        p->waitForFinished(1000);
      }
    }
  }
  processes_.clear();
  if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
  if (daemon_.state() != QProcess::NotRunning) {
    daemon_.terminate();
    if (!daemon_.waitForFinished(3000)) daemon_.kill();
    daemon_.waitForFinished(1000);
  }
}

QProcessEnvironment PrivateBus::Environment() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  return env;
}

bool PrivateBus::HasName(const QString& name) const {
  return connection_.interface() && connection_.interface()->isServiceRegistered(name).value();
}

bool PrivateBus::WaitNameGone(const QString& name) const {
  QDeadlineTimer deadline(5000);
  while (HasName(name)) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
  return true;
}

QProcess* PrivateBus::Start(const QString& program, const QStringList& arguments,
                            const QString& waitForName, const QProcessEnvironment* environment) {
  auto process = std::make_unique<QProcess>();
  process->setProcessEnvironment(environment ? *environment : Environment());
  EndWithTest(*process);
  process->start(program, arguments);
  if (!process->waitForStarted(5000)) {
    lastError_ = program + QStringLiteral(" did not start");
    return nullptr;
  }
  QDeadlineTimer deadline(10000);
  while (!HasName(waitForName)) {
    if (process->state() == QProcess::NotRunning || deadline.hasExpired()) {
      process->kill();
      process->waitForFinished(1000);
      lastError_ = QString::fromUtf8(process->readAllStandardError() + process->readAllStandardOutput());
      return nullptr;
    }
    process->waitForFinished(20);
  }
  processes_.push_back(std::move(process));
  return processes_.back().get();
}

int PrivateBus::Run(const QString& program, const QStringList& arguments, QString* out,
                    QString* err, int timeoutMs) {
  QProcess process;
  process.setProcessEnvironment(Environment());
  EndWithTest(process);
  process.start(program, arguments);
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished(1000);
    return -1;
  }
  if (out) *out = QString::fromUtf8(process.readAllStandardOutput());
  if (err) *err = QString::fromUtf8(process.readAllStandardError());
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void PrivateBus::Stop(QProcess* process) {
  if (!process || process->state() == QProcess::NotRunning) return;
  process->terminate();
  if (!process->waitForFinished(5000)) {
    process->kill();
    process->waitForFinished(1000);
  }
}
