#pragma once

#include "WriterConnection.h"
#include "WriterText.h"
#include "support/ChildProcesses.h"
#include "word/WordFixture.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <csignal>
#include <unistd.h>

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

inline const QString kWriter = QStringLiteral(PENLARK_WRITER_BIN);
inline const QString kLetterOdt = QStringLiteral(PENLARK_TEST_DATA "/letter.odt");

// A headless LibreOffice of the test's own: a fresh profile, a pipe named after this
// process, and a UNO connection to it. It and every process it starts are ended when it
// goes.
class HeadlessOffice {
 public:
  HeadlessOffice() {
    static int started = 0;
    description_ = QStringLiteral("pipe,name=penlark-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(started++);
    office_.setProgram(QStringLiteral(PENLARK_SOFFICE_BIN));
    office_.setArguments({QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--norestore"),
                          QStringLiteral("--nologo"), QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                          QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile_.path()).toString(),
                          QStringLiteral("--accept=") + description_ + QStringLiteral(";urp;")});
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
  Reference<css::text::XTextDocument> Open(const QString& path) {
    const QString folder = documents_.filePath(QString::number(copies_++));
    const QString copy = folder + u'/' + QFileInfo(path).fileName();
    if (!QDir().mkpath(folder) || !QFile::copy(path, copy)) return {};
    const Reference<css::frame::XComponentLoader> loader(uno_->Desktop(), UNO_QUERY_THROW);
    return Reference<css::text::XTextDocument>(
        loader->loadComponentFromURL(ToUno(QUrl::fromLocalFile(copy).toString()), rtl::OUString("_blank"), 0, {}),
        UNO_QUERY);
  }
  void CloseAll() {
    const Reference<css::container::XEnumeration> all = uno_->Desktop()->getComponents()->createEnumeration();
    while (all->hasMoreElements()) {
      const Reference<css::util::XCloseable> document(all->nextElement(), UNO_QUERY);
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
  QTemporaryDir profile_, documents_;
  QString description_, error_;
  int copies_ = 0;
  QProcess office_;
  std::unique_ptr<WriterConnection> uno_;
};

// Every bookmark as "Name@paragraph:column" of its start, counted from 0, and "=text" when
// it spans text; in the order of their names.
inline QStringList BookmarkPlaces(const Reference<css::text::XTextDocument>& document) {
  const Reference<css::text::XBookmarksSupplier> supplier(document, UNO_QUERY_THROW);
  const Reference<css::container::XNameAccess> bookmarks = supplier->getBookmarks();
  QStringList places;
  for (const rtl::OUString& name : bookmarks->getElementNames()) {
    Reference<css::text::XTextContent> bookmark;
    bookmarks->getByName(name) >>= bookmark;
    const Reference<css::text::XTextRange> anchor = bookmark->getAnchor();
    const Reference<css::text::XTextCursor> before = document->getText()->createTextCursor();
    before->gotoStart(false);
    before->gotoRange(anchor->getStart(), true);
    const QString prefix = FromUno(before->getString());
    QString place = FromUno(name) + QStringLiteral("@%1:%2").arg(prefix.count(u'\n')).arg(prefix.size() - prefix.lastIndexOf(u'\n') - 1);
    if (const QString spanned = FromUno(anchor->getString()); !spanned.isEmpty()) place += u'=' + spanned;
    places << place;
  }
  places.sort();
  return places;
}

// One headless office for each test suite, the letter opened afresh in it for each test,
// and penlark-writer on the test's private bus, attached as start-up would.
class WriterFixture : public WordFixture {
 protected:
  static void SetUpTestSuite() { office = std::make_unique<HeadlessOffice>(); }
  static void TearDownTestSuite() { office.reset(); }

  void SetUp() override {
    WordFixture::SetUp();
    ASSERT_TRUE(office->ok()) << office->error().toStdString();
    office->CloseAll();
    letter = office->Open(kLetterOdt);
    ASSERT_TRUE(letter.is());
    ASSERT_NO_FATAL_FAILURE(StartWriter(*office));
  }

  void StartWriter(const HeadlessOffice& on) {
    writer = bus.Start(kWriter, {QStringLiteral("--connect"), on.Description()},
                       WindowClassName(QStringLiteral("OpusApp")));
    ASSERT_NE(writer, nullptr) << bus.lastError().toStdString();
    pv.WordApp = GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
    pv.WordVersion = QStringLiteral("8.0");
  }

  static inline std::unique_ptr<HeadlessOffice> office;
  Reference<css::text::XTextDocument> letter;
  QProcess* writer = nullptr;
};
