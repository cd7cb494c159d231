// penlark-organizer: plays the address book that Penlark searches and reads addressees
// from. It serves the DDE application "Organize200" on the session bus (bus name
// DdeServiceName("Organize200"), contract src/platform/dbus/org.penlark.Dde.xml); each
// DATAFILE given is one topic, named by any path that reaches the same file. A data file
// is UTF-8 JSON: {"sections": [{"name": "Address", "records": [{"LastName": "Lee", ...}]}]},
// a record's keys being the item names it answers.
//
// It answers the four commands [SelectSection("…")], [SelectIndex("LastName"|"Company")],
// [Find("…")] and [Find("<NEXT>")], written exactly so, and the items "RESULT" and the
// field names. It leaves out everything else an address book does: no window, no editing,
// no saving, no other commands or items, no automatic links; the data is read once at
// start.
//
// It reports on stderr: a data file it cannot use (file and line) or a bus name already
// taken ends it with a non-zero status before it serves anything; while it runs, each
// conversation opened and ended and each refusal is one line. SIGTERM or SIGINT end it
// with status 0.
//
// Test-only switches: --stall-item NAME never answers requests of the item NAME;
// --stall-command NAME never answers the command NAME (such as SelectSection);
// --result-text TEXT answers "RESULT" with TEXT (an address book answering garbage);
// --end-after N answers N calls (initiates, commands and requests) and ends at the next
// one without answering it, as a crash would; --stall-after N answers N calls and leaves
// every later one unanswered.

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

#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kUsage = QStringLiteral(
    "usage: penlark-organizer [--stall-item NAME] [--stall-command NAME] "
    "[--result-text TEXT] [--end-after N] [--stall-after N] DATAFILE...");

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(signalPipe[0], &byte, 1);
}

int Fail(const QString& message) {
  std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);

  DdeServer::Options options;
  QStringList paths;
  const QStringList arguments = app.arguments().mid(1);
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--stall-item") && i + 1 < arguments.size()) {
      options.stallItem = arguments[++i];
    } else if (argument == QLatin1String("--stall-command") && i + 1 < arguments.size()) {
      options.stallCommand = arguments[++i];
    } else if (argument == QLatin1String("--result-text") && i + 1 < arguments.size()) {
      options.resultText = arguments[++i];
    } else if ((argument == QLatin1String("--end-after") ||
                argument == QLatin1String("--stall-after")) && i + 1 < arguments.size()) {
      bool ok = false;
      const int calls = arguments[++i].toInt(&ok);
      if (!ok || calls < 0) return Fail(QStringLiteral("%1 takes a number of calls\n").arg(argument) + kUsage);
      (argument == QLatin1String("--end-after") ? options.endAfter : options.stallAfter) = calls;
    } else if (argument.startsWith(QLatin1String("--"))) {
      return Fail(QStringLiteral("unknown option %1\n").arg(argument) + kUsage);
    } else {
      paths << argument;
    }
  }
  if (paths.isEmpty()) return Fail(kUsage);

  std::vector<DataFile> files;
  for (const QString& path : paths) {
    QString error;
    std::optional<DataFile> file = LoadDataFile(path, &error);
    if (!file) return Fail(error);
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
