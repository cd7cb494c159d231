// penlark-organizer: plays the address book that Penlark searches and reads addressees
// from. It serves the DDE application "Organize200" on the session bus (bus name
// DdeServiceName("Organize200"), contract src/contract/dbus/org.penlark.Dde.xml); each
// DATAFILE given is one topic, named by any path that reaches the same file. A data file
// is UTF-8 JSON: {"sections": [{"name": "Address", "records": [{"LastName": "Lee", ...}]}]},
// a record's keys being the item names it answers; or, named *.vcf, a file of vCards
// (VcardReader.h), whose cards are the records of a section named after the file and of
// one section for each of their categories; or a folder, whose vCard files are served as
// one address book (VcardFolder.h). With --carddav URL, the one DATAFILE is the local copy
// of the address book at URL, brought up to date at start and while serving
// (CardDavClient.h).
//
// It answers the four commands [SelectSection("…")], [SelectIndex("LastName"|"Company")],
// [Find("…")] and [Find("<NEXT>")], written exactly so, and the items "RESULT" and the
// field names. It leaves out everything else an address book does: no window, no editing,
// no saving, no other commands or items, no automatic links; the data is read once at
// start, except a CardDAV copy, read again each time it is brought up to date.
//
// It reports on stderr: a data file it cannot use (file and line) or a bus name already
// taken ends it with a non-zero status before it serves anything; a vCard it skips is one
// line (file and line) and the rest is served; while it runs, each
// conversation opened and ended and each refusal is one line. SIGTERM or SIGINT end it
// with status 0. A CardDAV copy that cannot be made at start, with none there yet, ends it
// before it serves; one that cannot be brought up to date is served, with one line saying
// why (and, at start, how old the copy is); each new copy is one line.
//
// Test-only switches: --stall-item NAME never answers requests of the item NAME;
// --stall-command NAME never answers the command NAME (such as SelectSection);
// --result-text TEXT answers "RESULT" with TEXT (an address book answering garbage);
// --end-after N answers N calls (initiates, commands and requests) and ends at the next
// one without answering it, as a crash would; --stall-after N answers N calls and leaves
// every later one unanswered; --refuse-at N refuses the N-th call (counted from 1 in the
// same way) and answers every other one, as an address book busy for a moment would.
// --check-every SECONDS checks a CardDAV collection for changes at most this often (60).
// Benchmark-only switch: --generate N adds N made-up records after the own records of the
// first section of each DATAFILE named after it, so the index can be tried at sizes no file
// in the repository has, beside a file without them.

#include "AddressBook.h"
#include "CardDavClient.h"
#include "DdeServer.h"
#include "MadeUpPeople.h"
#include "OrganizerWindow.h"
#include "TerminationSignals.h"
#include "VcardFolder.h"
#include "ddeadaptor.h"
#include "DdeContract.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDateTime>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {

const QString kUsage = QStringLiteral(
    "usage: penlark-organizer [--stall-item NAME] [--stall-command NAME] "
    "[--result-text TEXT] [--end-after N] [--stall-after N] [--refuse-at N] [--generate N] "
    "DATAFILE|FOLDER...\n"
    "       penlark-organizer [--check-every SECONDS] --carddav URL FILE.vcf");

// The same N records on every run: names built from syllables by a fixed generator.
void AddGeneratedRecords(DataFile& file, qint64 count) {
  if (file.sections.empty() || count == 0) return;  // its indexes are made already
  const int firstName = FieldIdOf(QStringLiteral("FirstName"));
  const int lastName = FieldIdOf(QStringLiteral("LastName"));
  const int company = FieldIdOf(QStringLiteral("Company"));
  const int city = FieldIdOf(QStringLiteral("City"));
  Section& section = file.sections.front();
  section.records.reserve(section.records.size() + static_cast<size_t>(count));
  MadeUpPeople people;
  for (qint64 i = 0; i < count; ++i) {
    const QString name = QString::fromLatin1(people.FamilyName());
    section.records.emplace_back(std::vector<std::pair<int, QString>>{
        {firstName, QLatin1String(people.GivenName())},
        {lastName, name},
        {company, name + QStringLiteral(" Ltd")},
        {city, QLatin1String(people.City())}});
  }
  section.byLastName = SortedIndex(section.records, lastName);
  section.byCompany = SortedIndex(section.records, company);
}

int Fail(const QString& message) {
  std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(message));
  ShowOrganizerFailure(message);
  return 1;
}

QString AgeOf(const QString& path) {
  const QDateTime written = QFileInfo(path).lastModified();
  const qint64 minutes = written.secsTo(QDateTime::currentDateTime()) / 60;
  const QString age = minutes < 120   ? QStringLiteral("%1 minutes").arg(minutes)
                      : minutes < 2880 ? QStringLiteral("%1 hours").arg(minutes / 60)
                                       : QStringLiteral("%1 days").arg(minutes / 1440);
  return QStringLiteral("written %1, %2 ago").arg(written.toString(Qt::ISODate), age);
}

}  // namespace

int main(int argc, char** argv) {
  // --window, the desktop entry's, gives a window saying what is served (OrganizerWindow.h).
  const std::unique_ptr<QCoreApplication> application = MakeOrganizerApplication(argc, argv);
  QCoreApplication& app = *application;

  DdeServer::Options options;
  std::vector<std::pair<QString, qint64>> paths;  // and the records to add to each
  qint64 generate = 0;
  QUrl carddav;
  int checkSeconds = 60;
  const QStringList arguments = app.arguments().mid(1);
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--stall-item") && i + 1 < arguments.size()) {
      options.stallItem = arguments[++i];
    } else if (argument == QLatin1String("--stall-command") && i + 1 < arguments.size()) {
      options.stallCommand = arguments[++i];
    } else if (argument == QLatin1String("--result-text") && i + 1 < arguments.size()) {
      options.resultText = arguments[++i];
    } else if (argument == QLatin1String("--generate") && i + 1 < arguments.size()) {
      bool ok = false;
      generate = arguments[++i].toLongLong(&ok);
      if (!ok || generate < 0) return Fail(QStringLiteral("--generate needs a count\n") + kUsage);
    } else if (CallFaultCounts::IsSwitch(argument) && i + 1 < arguments.size()) {
      QString error;
      if (!options.faults.Set(argument, arguments[++i], &error)) return Fail(error + u'\n' + kUsage);
    } else if (argument == QLatin1String("--carddav") && i + 1 < arguments.size()) {
      carddav = QUrl(arguments[++i]);
      if (const QString why = CardDavClient::CheckUrl(carddav); !why.isEmpty()) return Fail(why);
    } else if (argument == QLatin1String("--check-every") && i + 1 < arguments.size()) {
      bool ok = false;
      checkSeconds = arguments[++i].toInt(&ok);
      if (!ok || checkSeconds < 0) return Fail(QStringLiteral("--check-every takes seconds\n") + kUsage);
    } else if (argument.startsWith(QLatin1String("--"))) {
      return Fail(QStringLiteral("unknown option %1\n").arg(argument) + kUsage);
    } else {
      paths.emplace_back(argument, generate);
    }
  }
  if (paths.empty()) return Fail(kUsage);

  // The copy is brought up to date before it is read; without one, nothing is served.
  std::unique_ptr<CardDavClient> dav;
  if (!carddav.isEmpty()) {
    const QString& copy = paths.front().first;
    if (paths.size() != 1 || !copy.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
      return Fail(QStringLiteral("--carddav keeps one .vcf file as the local copy\n") + kUsage);
    dav = std::make_unique<CardDavClient>(carddav, copy);
    dav->SetCheckInterval(checkSeconds * 1000);
    QString error;
    if (!dav->Update(&error)) {
      if (!QFileInfo(copy).isFile())
        return Fail(QStringLiteral("%1; there is no local copy %2 yet, so nothing is served").arg(error, copy));
      std::fprintf(stderr, "penlark-organizer: %s; serving the local copy %s, %s\n", qPrintable(error),
                   qPrintable(copy), qPrintable(AgeOf(copy)));
    }
  }

  std::vector<DataFile> files;
  for (const auto& [path, generated] : paths) {
    QString error;
    QStringList warnings;
    std::optional<DataFile> file = QFileInfo(path).isDir() ? LoadVcardFolder(path, &error, &warnings)
                                                           : LoadDataFile(path, &error, &warnings);
    for (const QString& warning : warnings)
      std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(warning));
    if (!file) return Fail(error);
    AddGeneratedRecords(*file, generated);
    files.push_back(std::move(*file));
  }

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return Fail(QStringLiteral("no session bus: %1").arg(bus.lastError().message()));

  if (!QuitOnTerminationSignals(app)) return Fail(QStringLiteral("cannot set up signal handling"));

  const std::unique_ptr<QWidget> window = MakeOrganizerWindow(files, DdeServiceName(QStringLiteral("Organize200")));
  DdeServer server(bus, std::move(files), options);
  new DdeAdaptor(&server);
  if (dav) {
    server.SetInitiateGate([&dav](std::function<void()> proceed) { dav->BeforeConversation(std::move(proceed)); });
    QObject::connect(dav.get(), &CardDavClient::CopyReplaced, &server, [&server, &paths] {
      QString error;
      QStringList warnings;
      std::optional<DataFile> file = LoadDataFile(paths.front().first, &error, &warnings);
      for (const QString& warning : warnings)
        std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(warning));
      if (file) server.ReplaceFile(0, std::move(*file));
      else std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(error));
    });
  }
  if (!bus.registerObject(DdeContract::ObjectPath, &server))
    return Fail(QStringLiteral("cannot register %1 on the bus").arg(DdeContract::ObjectPath));
  const QString name = DdeServiceName(QStringLiteral("Organize200"));
  if (!bus.registerService(name))
    return Fail(QStringLiteral("the bus name %1 is already taken: another address book is "
                               "running").arg(name));

  std::fprintf(stderr, "penlark-organizer: serving %lld data file(s) as %s\n",
               static_cast<long long>(paths.size()), qPrintable(name));
  std::fflush(stderr);
  if (window) window->show();
  const int status = app.exec();
  bus.unregisterService(name);
  return status;
}
