#include "VcardServing.h"

#include "BenchWorld.h"
#include "MadeUpPeople.h"
#include "profilefile/FileBytes.h"
#include "PrivateBus.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Cards as desktop programs and phones export them, the same on every run: names from
// syllables, a company, position, two or three numbers, an e-mail address, a work and
// sometimes a home address, now and then a folded note, a photo-less UID and REV, and a
// category on every tenth card.
QByteArray VcardFile(int cards) {
  MadeUpPeople people;
  QByteArray file;
  file.reserve(static_cast<qsizetype>(cards) * 480);
  for (int i = 0; i < cards; ++i) {
    const QByteArray family = people.FamilyName();
    const QByteArray given = people.GivenName();
    const QByteArray city = people.City();
    const QByteArray n = QByteArray::number(i);
    file += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + family + ";" + given + ";;Mr;\r\nFN:Mr " + given + " " + family +
            "\r\nORG:" + family + " Ltd;Sales\r\nTITLE:Buyer\r\nTEL;TYPE=WORK,VOICE:0113 496 " + n +
            "\r\nTEL;TYPE=CELL:07700 900 " + n + "\r\nEMAIL;TYPE=INTERNET,WORK:" + given.toLower() + "@" +
            family.toLower() + ".example\r\nADR;TYPE=WORK:;;" + QByteArray::number(i % 200) + " Mill Lane;" + city +
            ";West Yorkshire;LS1 4AB;United Kingdom\r\n";
    if (i % 3 == 0)
      file += "TEL;TYPE=HOME:01943 000 " + n + "\r\nADR;TYPE=HOME:;;" + QByteArray::number(i % 90) +
              " Oak Road;Otley;;LS21 3CD;United Kingdom\r\n";
    if (i % 5 == 0)
      file += "NOTE:Met at the trade fair in Harrogate\\, asked for the new price list and a visi\r\n t in spring.\r\n";
    if (i % 10 == 0) file += "CATEGORIES:Clients\r\n";
    file += "UID:" + QByteArray::number(people.Next(), 16) + "\r\nREV:2024-03-05T13:32:54Z\r\nEND:VCARD\r\n";
  }
  return file;
}

// Starts the stand-in on the file and waits until it says it serves; the time to that,
// and its peak resident size, or a negative time on failure. *cpuSeconds: the processor
// time it had used by then, which the load of a shared machine moves far less.
std::pair<double, long> Serve(const PrivateBus& bus, const QString& path, double* cpuSeconds) {
  std::vector<QByteArray> environment;
  for (const QString& entry : bus.Environment().toStringList()) environment.push_back(entry.toLocal8Bit());
  std::vector<char*> envp;
  for (QByteArray& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  const QByteArray program = PENLARK_ORGANIZER_BIN;
  const QByteArray file = QFile::encodeName(path);
  char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(file.constData()), nullptr};
  int err[2];
  if (::pipe(err) != 0) return {-1, 0};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(err[1]);
  if (spawned != 0) {
    ::close(err[0]);
    return {-1, 0};
  }
  double seconds = -1;
  QByteArray said;
  QDeadlineTimer deadline(120000);
  while (!deadline.hasExpired()) {
    pollfd fd{err[0], POLLIN, 0};
    if (::poll(&fd, 1, 100) <= 0) continue;
    char buffer[512];
    const ssize_t got = ::read(err[0], buffer, sizeof buffer);
    if (got <= 0) break;
    said.append(buffer, got);
    if (said.contains("penlark-organizer: serving ")) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
      break;
    }
  }
  ::close(err[0]);
  // The peak of the program itself: wait4's figure would also hold this process's size,
  // which the spawned child shared until it started the program.
  long peak = 0;
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (seconds >= 0 && stat.open(QIODevice::ReadOnly)) {
    // utime and stime, the 14th and 15th fields, counted after the name in parentheses.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 12)
      *cpuSeconds = static_cast<double>(fields[11].toLong() + fields[12].toLong()) / static_cast<double>(sysconf(_SC_CLK_TCK));
  }
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (seconds >= 0 && status.open(QIODevice::ReadOnly))
    for (const QByteArray& line : status.readAll().split('\n'))
      if (line.startsWith("VmHWM:")) peak = line.mid(6).trimmed().split(' ').front().toLong();
  ::kill(pid, seconds < 0 ? SIGKILL : SIGTERM);
  int exit = 0;
  ::waitpid(pid, &exit, 0);
  return {seconds, peak};  // kilobytes
}

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

}  // namespace

void TimeServingVcards(benchmark::State& state) {
  constexpr int kCards = 100000;
  // A bus of its own: the world's address book already holds the stand-in's name.
  static PrivateBus bus;
  static const QString path = World().dir.filePath(QStringLiteral("contacts-100000.vcf"));
  if (!bus.ok()) return state.SkipWithError("no private bus for the vCard stand-in");
  if (!QFile::exists(path)) {
    const QByteArray bytes = VcardFile(kCards);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
      return state.SkipWithError("cannot write the vCard file");
  }
  const std::string file = path.toStdString();
  long peak = 0;
  double floor = 0;
  std::vector<double> ratios;
  std::vector<double> cpu;
  for (auto _ : state) {
    double cpuSeconds = 0;
    const auto [seconds, rss] = Serve(bus, path, &cpuSeconds);
    cpu.push_back(cpuSeconds);
    if (seconds < 0) {
      state.SkipWithError("penlark-organizer never said it serves the file");
      break;
    }
    const Clock::time_point start = Clock::now();
    bool missing = false;
    benchmark::DoNotOptimize(ReadFileBytes(file, &missing));
    const double floorOnce = std::chrono::duration<double>(Clock::now() - start).count();
    floor += floorOnce;
    ratios.push_back(seconds / floorOnce);
    state.SetIterationTime(seconds);
    peak = std::max(peak, rss);
  }
  if (ratios.empty()) return;
  state.counters["floor_us"] = benchmark::Counter(floor * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = Median(ratios);
  state.counters["peak_rss_mb"] = static_cast<double>(peak) / 1024.0;
  state.counters["cpu_ms"] = Median(cpu) * 1000;
  state.counters["file_mb"] = static_cast<double>(QFile(path).size()) / 1e6;
}
