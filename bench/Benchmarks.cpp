#include "Benchmarks.h"

#include "BenchWorld.h"
#include "CardDavBench.h"
#include "EchoPeer.h"
#include "VcardServing.h"
#include "WriterOffice.h"
#include "config/ConfigFile.h"
#include "organizer/OrganizerSearch.h"
#include "bus/DdeTextBox.h"
#include "profilefile/FileBytes.h"
#include "profilefile/ProfileFile.h"
#include "word/WordTransfer.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSettings>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The key both floors and both configuration readers fetch: a row in the middle of the file.
const char* const kSection = "Profile 15";
const char* const kKey = "Field 6";

QDBusMessage EchoCall() {
  QDBusMessage call = QDBusMessage::createMethodCall(kEchoService, kEchoPath, kEchoInterface, QStringLiteral("Echo"));
  call << 1u << QStringLiteral("LastName");
  call.setAutoStartService(false);
  return call;
}

// One bare round trip to the echo peer, with the client's own link timeout.
bool BareRoundTrip() {
  static const QDBusMessage call = EchoCall();
  return World().bus.connection().call(call, QDBus::Block, 6000).type() == QDBusMessage::ReplyMessage;
}

std::string BareKeyRead() {
  static const std::string ini = World().ini.toStdString();
  return GetPrivateProfileString(kSection, kKey, "", ini);
}

// The round trips and file reads of one run of op, counted once per benchmark and shown
// with every result of it.
BenchWorld::Counts Count(benchmark::State& state, const std::string& name, const std::function<void()>& op) {
  static std::map<std::string, BenchWorld::Counts> counted;
  if (!counted.count(name)) counted[name] = World().CountOf(op);
  state.counters["round_trips"] = counted[name].roundTrips;
  state.counters["file_reads"] = counted[name].fileReads;
  return counted[name];
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Times op and, straight after each run of it, its floor: as many bare round trips and key
// reads as it makes. Both see the same load, which on a shared machine moves by the second;
// the ratio reported is the median of the runs' own ratios, so a burst of load on one run
// does not move it. A baseline, when given, runs just before op each time, and the median
// of op's excess over it is reported too.
void SideBySide(benchmark::State& state, const BenchWorld::Counts& counts, const std::function<bool()>& op,
                const std::function<bool()>& baseline = {}) {
  if (counts.roundTrips < 0 || counts.fileReads < 0) return state.SkipWithError("the calls could not be counted");
  double floor = 0;
  std::vector<double> ratios, excess;
  bool baselineFirst = true;
  for (auto _ : state) {
    // Which of the pair goes first alternates: the first after the floor's calls runs colder.
    auto timed = [](const std::function<bool()>& f, double* seconds) {
      const Clock::time_point start = Clock::now();
      const bool ok = f();
      *seconds = Seconds(Clock::now() - start);
      return ok;
    };
    double opSeconds = 0, baseSeconds = 0;
    bool ok = true;
    if (baseline && baselineFirst) ok = timed(baseline, &baseSeconds);
    ok = timed(op, &opSeconds) && ok;
    if (baseline && !baselineFirst) ok = timed(baseline, &baseSeconds) && ok;
    baselineFirst = !baselineFirst;
    const Clock::time_point done = Clock::now();
    for (int trip = 0; trip < counts.roundTrips; ++trip) BareRoundTrip();
    for (int read = 0; read < counts.fileReads; ++read) benchmark::DoNotOptimize(BareKeyRead());
    const double floorOnce = Seconds(Clock::now() - done);
    floor += floorOnce;
    state.SetIterationTime(opSeconds);
    ratios.push_back(opSeconds / floorOnce);
    if (baseline) excess.push_back(opSeconds - baseSeconds);
    if (!ok) {
      state.SkipWithError("it failed");
      break;
    }
  }
  state.counters["floor_us"] = benchmark::Counter(floor * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = Median(ratios);
  if (baseline) state.counters["over_baseline_us"] = Median(excess) * 1e6;
}

void TimeRoundTrip(benchmark::State& state) {
  Count(state, BenchNames::RoundTrip, [] { BareRoundTrip(); });
  for (auto _ : state) {
    if (!BareRoundTrip()) {
      state.SkipWithError("the echo peer did not answer");
      break;
    }
  }
}

void TimeKeyRead(benchmark::State& state) {
  Count(state, BenchNames::KeyRead, [] { BareKeyRead(); });
  if (BareKeyRead() != "Business/City") state.SkipWithError("the key read the wrong value");
  for (auto _ : state) benchmark::DoNotOptimize(BareKeyRead());
  state.counters["ini_bytes"] = static_cast<double>(QFileInfo(World().ini).size());
}

void TimeFileBytes(benchmark::State& state) {
  const std::string ini = World().ini.toStdString();
  bool missing = false;
  for (auto _ : state) benchmark::DoNotOptimize(ReadFileBytes(ini, &missing));
}

// Ours and QSettings by turns, a settings object per read, as each read of ours stands
// alone. QSettings keeps what it parsed while the file's time and size stay the same, so it
// is timed twice: as it comes, and with the file's time moved first, which makes it read.
void TimeReadConfig(benchmark::State& state) {
  const QString ini = World().ini;
  const QByteArray iniPath = QFile::encodeName(ini);
  const QString section = QLatin1String(kSection), key = QLatin1String(kKey);
  const QString path = section + u'/' + key;
  auto ours = [&] { return ReadConfigString(ini, section, key); };
  auto theirs = [&] { return QSettings(ini, QSettings::IniFormat).value(path).toString(); };
  if (ours() != QStringLiteral("Business/City") || theirs() != ours())
    return state.SkipWithError("a reader read the wrong value");
  double cached = 0, afresh = 0;
  std::vector<double> ratios;
  time_t stamp = 1000000000;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    benchmark::DoNotOptimize(ours());
    const Clock::time_point done = Clock::now();
    benchmark::DoNotOptimize(theirs());
    const Clock::time_point cachedDone = Clock::now();
    const timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    utimensat(AT_FDCWD, iniPath.constData(), times, 0);
    const Clock::time_point touched = Clock::now();
    benchmark::DoNotOptimize(theirs());
    afresh += Seconds(Clock::now() - touched);
    cached += Seconds(cachedDone - done);
    ratios.push_back(Seconds(done - start) / Seconds(cachedDone - done));
    state.SetIterationTime(Seconds(done - start));
  }
  state.counters["qsettings_us"] = benchmark::Counter(cached * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["qsettings_afresh_us"] = benchmark::Counter(afresh * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = Median(ratios);
}

// The conversation stands on the first "Lee" when these run.
void TimeDdeRequest(benchmark::State& state) {
  BenchWorld& w = World();
  if (!w.UseAddressBook(100)) return state.SkipWithError(w.error().toStdString().c_str());
  DdeTextBox& pipe = *w.pv.main.txtOrganizerPipe;
  pipe.LinkExecute(SelectIndexCommand(true));
  pipe.LinkExecute(FindCommand(QStringLiteral("Lee")));
  pipe.SetLinkItem(QStringLiteral("LastName"));
  const auto counts = Count(state, BenchNames::DdeRequest, [&] { pipe.LinkRequest(); });
  SideBySide(state, counts, [&] {
    pipe.LinkRequest();
    return pipe.Text() == QStringLiteral("Lee");
  });
}

void TimeAutomationCall(benchmark::State& state) {
  const AutomationObject selection = World().pv.WordApp.GetObject(QStringLiteral("Selection"));
  const QVariantMap named{{QStringLiteral("What"), QVariant::fromValue<qint32>(-1)},
                          {QStringLiteral("Name"), QStringLiteral("Name")}};
  auto once = [&] { selection.Call(QStringLiteral("GoTo"), {}, named); };
  const auto counts = Count(state, BenchNames::AutomationCall, once);
  SideBySide(state, counts, [&] {
    once();
    return true;
  });
}

// Each run of a larger address book is paired with a run of the 100 records just before it.
void TimeSearch(benchmark::State& state, qint64 records) {
  BenchWorld& w = World();
  if (!w.UseAddressBook(records)) return state.SkipWithError(w.error().toStdString().c_str());
  w.pv.main.txtSearchItem->setText(QStringLiteral("Lee"));
  w.pv.main.optSurname->setChecked(true);
  auto search = [&w](qint64 size) {
    return w.UseAddressBook(size) && SearchOrganizer(w.pv) && w.pv.main.lstAddressee->count() == 10 &&
           w.desktop.boxes.empty();
  };
  const auto counts = Count(state, BenchNames::Search + std::to_string(records), [&] { search(records); });
  if (records == BenchNames::SearchSizes[0]) return SideBySide(state, counts, [&] { return search(records); });
  SideBySide(state, counts, [&] { return search(records); }, [&] { return search(BenchNames::SearchSizes[0]); });
}

// A fresh letter for each batch of runs, so the document does not grow from run to run.
void TimeTransfer(benchmark::State& state, const std::string& name, const std::function<bool(QString*)>& freshLetter) {
  BenchWorld& w = World();
  QString error;
  if (!w.UseAddressBook(100)) return state.SkipWithError(w.error().toStdString().c_str());
  if (!freshLetter(&error)) return state.SkipWithError(error.toStdString().c_str());
  w.pv.main.cboAddressProfile->setEditText(w.transferProfile);
  auto once = [&] { return TransferWord8(w.pv, QStringLiteral("Lee"), true, 2) && w.desktop.boxes.empty(); };
  const auto counts = Count(state, name, [&] { once(); });
  SideBySide(state, counts, once);
}

// Runs the copy of penlark until it reports its window ready; the time to that line and
// the process's peak resident size, or a negative time when it never got there.
std::pair<double, long> StartPenlark() {
  BenchWorld& w = World();
  QStringList environment = w.bus.Environment().toStringList();
  environment << QStringLiteral("PENLARK_EXIT_WHEN_READY=1");
  std::vector<QByteArray> bytes;
  for (const QString& entry : environment) bytes.push_back(entry.toLocal8Bit());
  std::vector<char*> envp;
  for (QByteArray& entry : bytes) envp.push_back(entry.data());
  envp.push_back(nullptr);
  const QByteArray path = QFile::encodeName(w.program);
  char* argv[] = {const_cast<char*>(path.constData()), nullptr};

  int out[2];
  if (::pipe(out) != 0) return {-1, 0};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const QByteArray log = QFile::encodeName(w.dir.filePath(QStringLiteral("penlark.log")));
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.constData(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    ::close(out[0]);
    return {-1, 0};
  }
  double seconds = -1;
  QByteArray said;
  QDeadlineTimer deadline(20000);
  while (!deadline.hasExpired()) {
    pollfd fd{out[0], POLLIN, 0};
    if (::poll(&fd, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t got = ::read(out[0], buffer, sizeof buffer);
    if (got <= 0) break;
    said.append(buffer, got);
    if (said.contains("penlark: ready\n")) {
      seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      break;
    }
  }
  ::close(out[0]);
  if (seconds < 0) ::kill(pid, SIGKILL);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  return {seconds, usage.ru_maxrss};  // kilobytes
}

void TimeStartup(benchmark::State& state) {
  if (!World().UseAddressBook(100)) return state.SkipWithError(World().error().toStdString().c_str());
  long peak = 0;
  for (auto _ : state) {
    const auto [seconds, rss] = StartPenlark();
    if (seconds < 0) {
      state.SkipWithError("penlark never reported its window ready");
      break;
    }
    state.SetIterationTime(seconds);
    peak = std::max(peak, rss);
  }
  state.counters["peak_rss_mb"] = static_cast<double>(peak) / 1024.0;
}

template <typename Function>
benchmark::internal::Benchmark* Timed(const std::string& name, Function function, bool manual = true) {
  benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(name.c_str(), function);
  if (manual) b->UseManualTime();
  else b->UseRealTime();
  return b->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
}

}  // namespace

void RegisterBenchmarks() {
  Timed(BenchNames::RoundTrip, TimeRoundTrip, false);
  Timed(BenchNames::KeyRead, TimeKeyRead, false);
  Timed(BenchNames::FileBytes, TimeFileBytes, false);
  Timed(BenchNames::DdeRequest, TimeDdeRequest);
  Timed(BenchNames::AutomationCall, TimeAutomationCall);
  for (long long records : BenchNames::SearchSizes)
    Timed(BenchNames::Search + std::to_string(records),
          [records](benchmark::State& state) { TimeSearch(state, records); });
  Timed(BenchNames::Transfer, [](benchmark::State& state) {
    TimeTransfer(state, BenchNames::Transfer, [](QString* error) {
      if (World().RestartWord()) return true;
      *error = World().error();
      return false;
    });
  });
  Timed(BenchNames::ReadConfig, TimeReadConfig);
  Timed(BenchNames::Startup, TimeStartup)->Unit(benchmark::kMillisecond)->Iterations(5);
  Timed(BenchNames::CardDavCopy, TimeCardDavCopy)->Unit(benchmark::kMillisecond)->Iterations(2);
  Timed(BenchNames::ServeVcards, TimeServingVcards)->Unit(benchmark::kMillisecond)->Iterations(3);
  // Last, since it leaves penlark-writer as the word processor.
  if (WriterBuilt())
    Timed(BenchNames::WriterTransfer, [](benchmark::State& state) {
      TimeTransfer(state, BenchNames::WriterTransfer, [](QString* error) { return FreshWriterLetter(World(), error); });
    })->Unit(benchmark::kMillisecond);
}
