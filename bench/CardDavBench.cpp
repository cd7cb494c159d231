#include "CardDavBench.h"

#include "contract/DdeContract.h"
#include "Radicale.h"
#include "PrivateBus.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct CardDavWorld {
  QTemporaryDir dir;
  Radicale server{dir.path()};
  PrivateBus bus;  // the bench's own bus has an address book already
  QString error;

  CardDavWorld() {
    if (!server.ok()) error = QStringLiteral("Radicale did not start");
    else if (server.Put(QStringLiteral("/anna/many/"), NumberedCards(10000)) != 201) error = QStringLiteral("Radicale refused the cards");
    else if (!WriteBytes(dir.filePath(QStringLiteral("netrc")), "machine 127.0.0.1 login anna password secret\n"))
      error = QStringLiteral("cannot write the netrc file");
    else if (!bus.ok()) error = bus.lastError();
  }
};

// Seconds from the start to serving, or a negative number when it never served.
double FirstCopy(CardDavWorld& w) {
  const QString copy = w.dir.filePath(QStringLiteral("copy.vcf"));
  QFile::remove(copy);
  QProcess organizer;
  QProcessEnvironment environment = w.bus.Environment();
  environment.insert(QStringLiteral("NETRC"), w.dir.filePath(QStringLiteral("netrc")));
  organizer.setProcessEnvironment(environment);
  organizer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  EndWithTest(organizer);
  const QString service = DdeServiceName(QStringLiteral("Organize200"));
  const Clock::time_point start = Clock::now();
  organizer.start(QStringLiteral(PENLARK_ORGANIZER_BIN), {"--carddav", w.server.Url(QStringLiteral("/anna/many/")), copy});
  double seconds = -1;
  for (QDeadlineTimer deadline(120000); !deadline.hasExpired() && !organizer.waitForFinished(5);) {
    if (w.bus.HasName(service)) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
      break;
    }
  }
  organizer.terminate();
  if (!organizer.waitForFinished(5000)) organizer.kill();
  w.bus.WaitNameGone(service);
  return seconds;
}

}  // namespace

void TimeCardDavCopy(benchmark::State& state) {
  static CardDavWorld* world = new CardDavWorld;  // kept to the end: the setup takes a minute
  if (!world->error.isEmpty()) return state.SkipWithError(world->error.toStdString().c_str());
  const QByteArray everyCard =
      "<c:addressbook-query xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
      "<d:prop><d:getetag/><c:address-data/></d:prop><c:filter/></c:addressbook-query>";
  double floor = 0;
  std::vector<double> ratios;
  for (auto _ : state) {
    const double seconds = FirstCopy(*world);
    const Clock::time_point asked = Clock::now();
    QByteArray answer;
    const int status = world->server.Send("REPORT", QStringLiteral("/anna/many/"), everyCard,
                                          "application/xml; charset=utf-8", &answer, "1");
    const double floorOnce = std::chrono::duration<double>(Clock::now() - asked).count();
    if (seconds < 0 || status != 207 || answer.count("BEGIN:VCARD") != 10000) {
      state.SkipWithError(seconds < 0 ? "penlark-organizer never served the copy" : "the bare REPORT failed");
      break;
    }
    state.SetIterationTime(seconds);
    floor += floorOnce;
    ratios.push_back(seconds / floorOnce);
  }
  state.counters["floor_us"] = benchmark::Counter(floor * 1e6, benchmark::Counter::kAvgIterations);
  std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
  state.counters["ratio"] = ratios.empty() ? -1 : ratios[ratios.size() / 2];
}
