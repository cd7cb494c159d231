#pragma once

#include "WriterConnection.h"
#include "ChildProcesses.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <csignal>
#include <functional>
#include <memory>
#include <unistd.h>

// A headless LibreOffice of the caller's own: a fresh profile, a pipe named after this
// process, and a UNO connection to it. It and every process it starts are ended when it
// goes. Given setUp, the office is told where to listen by what setUp writes into the
// profile (as `penlark-writer --setup` does), not on its command line.
class HeadlessOffice {
 public:
  using SetUp = std::function<bool(const QString& profile, const QString& description, QString* error)>;

  explicit HeadlessOffice(const SetUp& setUp = {}) {
    static int started = 0;
    description_ = QStringLiteral("pipe,name=penlark-office-%1-%2").arg(QCoreApplication::applicationPid()).arg(started++);
    arguments_ = {QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--norestore"),
                  QStringLiteral("--nologo"), QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                  QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile_.path()).toString()};
    if (!setUp)
      arguments_ << QStringLiteral("--accept=") + description_ + QStringLiteral(";urp;");
    else if (!setUp(profile_.path(), description_, &error_))
      return;
    Start();
  }
  // Starts it again on the same profile and pipe after Kill.
  bool Restart() {
    Kill();
    Start();
    return ok();
  }
  ~HeadlessOffice() {
    uno_.reset();
    Kill();
  }
  HeadlessOffice(const HeadlessOffice&) = delete;
  HeadlessOffice& operator=(const HeadlessOffice&) = delete;

  bool ok() const { return uno_ != nullptr; }
  const QString& error() const { return error_; }
  const QString& Description() const { return description_; }
  const WriterConnection& Uno() const { return *uno_; }

  // Opens a copy of the document, of the same name, so the tests never touch the file.
  css::uno::Reference<css::text::XTextDocument> Open(const QString& path) {
    const QString folder = documents_.filePath(QString::number(copies_++));
    const QString copy = folder + u'/' + QFileInfo(path).fileName();
    if (!QDir().mkpath(folder) || !QFile::copy(path, copy)) return {};
    const css::uno::Reference<css::frame::XComponentLoader> loader(uno_->Desktop(), css::uno::UNO_QUERY_THROW);
    return css::uno::Reference<css::text::XTextDocument>(
        loader->loadComponentFromURL(ToUno(QUrl::fromLocalFile(copy).toString()), rtl::OUString("_blank"), 0, {}),
        css::uno::UNO_QUERY);
  }
  void CloseAll() {
    const css::uno::Reference<css::container::XEnumeration> all = uno_->Desktop()->getComponents()->createEnumeration();
    while (all->hasMoreElements()) {
      const css::uno::Reference<css::util::XCloseable> document(all->nextElement(), css::uno::UNO_QUERY);
      if (document.is()) document->close(true);
    }
  }
  // Ends the office at once, as a crash would; nothing in it needs keeping.
  void Kill() {
    if (office_.state() == QProcess::NotRunning) return;
    const auto group = static_cast<pid_t>(office_.processId());
    ::kill(-group, SIGKILL);
    office_.waitForFinished(15000);
    UnlistGroup(group);
  }

 private:
  void Start() {
    uno_.reset();
    office_.setProgram(QStringLiteral(PENLARK_SOFFICE_BIN));
    office_.setArguments(arguments_);
    office_.setStandardOutputFile(QProcess::nullDevice());
    office_.setStandardErrorFile(QProcess::nullDevice());
    // Its own process group, so the office it starts ends with it.
    EndWithTest(office_, true);
    office_.start();
    if (office_.waitForStarted(10000)) ListGroup(static_cast<pid_t>(office_.processId()));
    // A fresh profile makes the first start slow.
    QDeadlineTimer deadline(120000);
    while (!(uno_ = WriterConnection::Open(description_, &error_))) {
      if (office_.state() == QProcess::NotRunning || deadline.hasExpired()) return;
      QThread::msleep(200);
    }
  }

  QTemporaryDir profile_, documents_;
  QStringList arguments_;
  QString description_, error_;
  int copies_ = 0;
  QProcess office_;
  std::unique_ptr<WriterConnection> uno_;
};
