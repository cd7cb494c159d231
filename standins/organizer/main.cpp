// penlark-organizer: plays the address book that Penlark searches and reads addressees
// from. It serves the DDE application "Organize200" on the session bus (bus name
// DdeServiceName("Organize200"), contract src/platform/dbus/org.penlark.Dde.xml); each
// DATAFILE given is one topic, named by any path that reaches the same file. A data file
// is UTF-8 JSON: {"sections": [{"name": "Address", "records": [{"LastName": "Lee", ...}]}]},
// a record's keys being the item names it answers; or, named *.vcf, a file of vCards
// (VcardReader.h), whose cards are the records of a section named after the file and of
// one section for each of their categories.
//
// It answers the four commands [SelectSection("…")], [SelectIndex("LastName"|"Company")],
// [Find("…")] and [Find("<NEXT>")], written exactly so, and the items "RESULT" and the
// field names. It leaves out everything else an address book does: no window, no editing,
// no saving, no other commands or items, no automatic links; the data is read once at
// start.
//
// It reports on stderr: a data file it cannot use (file and line) or a bus name already
// taken ends it with a non-zero status before it serves anything; a vCard it skips is one
// line (file and line) and the rest is served; while it runs, each
// conversation opened and ended and each refusal is one line. SIGTERM or SIGINT end it
// with status 0.
//
// Test-only switches: --stall-item NAME never answers requests of the item NAME;
// --stall-command NAME never answers the command NAME (such as SelectSection);
// --result-text TEXT answers "RESULT" with TEXT (an address book answering garbage);
// --end-after N answers N calls (initiates, commands and requests) and ends at the next
// one without answering it, as a crash would; --stall-after N answers N calls and leaves
// every later one unanswered.
// Benchmark-only switch: --generate N adds N made-up records after the own records of the
// first section of each DATAFILE named after it, so the index can be tried at sizes no file
// in the repository has, beside a file without them.

#include "AddressBook.h"
#include "DdeServer.h"
#include "ddeadaptor.h"
#include "platform/DdeContract.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QSocketNotifier>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <utility>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kUsage = QStringLiteral(
    "usage: penlark-organizer [--stall-item NAME] [--stall-command NAME] "
    "[--result-text TEXT] [--end-after N] [--stall-after N] [--generate N] DATAFILE...");

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(signalPipe[0], &byte, 1);
}

// The same N records on every run: names built from syllables by a fixed generator.
void AddGeneratedRecords(DataFile& file, qint64 count) {
  if (file.sections.empty()) return;
  static const char* const syllables[] = {"bar", "cot", "den", "fal", "gor", "han", "kel", "lom",
                                          "mar", "nor", "pen", "ros", "sal", "tor", "vin", "wyn"};
  static const char* const firstNames[] = {"Ann", "Bob", "Cara", "Dev", "Eve", "Finn", "Gus", "Hal"};
  static const char* const cities[] = {"Leeds", "York", "Hull", "Ripon", "Otley", "Selby"};
  const int firstName = FieldIdOf(QStringLiteral("FirstName"));
  const int lastName = FieldIdOf(QStringLiteral("LastName"));
  const int company = FieldIdOf(QStringLiteral("Company"));
  const int city = FieldIdOf(QStringLiteral("City"));
  Section& section = file.sections.front();
  section.records.reserve(section.records.size() + static_cast<size_t>(count));
  quint64 state = 88172645463325252ull;
  auto next = [&state] {  // xorshift64
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (qint64 i = 0; i < count; ++i) {
    QString name;
    for (int s = 0; s < 3; ++s) name += QLatin1String(syllables[next() % 16]);
    name[0] = name[0].toUpper();
    section.records.emplace_back(std::vector<std::pair<int, QString>>{
        {firstName, QLatin1String(firstNames[next() % 8])},
        {lastName, name},
        {company, name + QStringLiteral(" Ltd")},
        {city, QLatin1String(cities[next() % 6])}});
  }
  section.byLastName = SortedIndex(section.records, lastName);
  section.byCompany = SortedIndex(section.records, company);
}

int Fail(const QString& message) {
  std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);

  DdeServer::Options options;
  std::vector<std::pair<QString, qint64>> paths;  // and the records to add to each
  qint64 generate = 0;
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
    } else if ((argument == QLatin1String("--end-after") ||
                argument == QLatin1String("--stall-after")) && i + 1 < arguments.size()) {
      bool ok = false;
      const int calls = arguments[++i].toInt(&ok);
      if (!ok || calls < 0) return Fail(QStringLiteral("%1 takes a number of calls\n").arg(argument) + kUsage);
      (argument == QLatin1String("--end-after") ? options.endAfter : options.stallAfter) = calls;
    } else if (argument.startsWith(QLatin1String("--"))) {
      return Fail(QStringLiteral("unknown option %1\n").arg(argument) + kUsage);
    } else {
      paths.emplace_back(argument, generate);
    }
  }
  if (paths.empty()) return Fail(kUsage);

  std::vector<DataFile> files;
  for (const auto& [path, generated] : paths) {
    QString error;
    QStringList warnings;
    std::optional<DataFile> file = LoadDataFile(path, &error, &warnings);
    for (const QString& warning : warnings)
      std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(warning));
    if (!file) return Fail(error);
    AddGeneratedRecords(*file, generated);
    files.push_back(std::move(*file));
  }

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return Fail(QStringLiteral("no session bus: %1").arg(bus.lastError().message()));

  // The signal handler only writes a byte; the event loop reads it and quits.
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
    return Fail(QStringLiteral("cannot set up signal handling"));
  QSocketNotifier signalNotifier(signalPipe[1], QSocketNotifier::Read);
  QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&app] {
    char byte;
    [[maybe_unused]] ssize_t got = ::read(signalPipe[1], &byte, 1);
    app.quit();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  DdeServer server(bus, std::move(files), options);
  new DdeAdaptor(&server);
  if (!bus.registerObject(DdeContract::ObjectPath, &server))
    return Fail(QStringLiteral("cannot register %1 on the bus").arg(DdeContract::ObjectPath));
  const QString name = DdeServiceName(QStringLiteral("Organize200"));
  if (!bus.registerService(name))
    return Fail(QStringLiteral("the bus name %1 is already taken: another address book is "
                               "running").arg(name));

  std::fprintf(stderr, "penlark-organizer: serving %lld data file(s) as %s\n",
               static_cast<long long>(paths.size()), qPrintable(name));
  std::fflush(stderr);
  const int status = app.exec();
  bus.unregisterService(name);
  return status;
}
