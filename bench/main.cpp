// penlark-bench: times the search, the transfer, start-up and the configuration file
// against their floors on a private bus of its own, prints the table and, with
// --report FILE, writes it into FILE. Google Benchmark's own options pass through.
//   penlark-bench [--report FILE] [--command TEXT] [--benchmark_...]
//   penlark-bench --echo     (the floor's peer; started by the benchmark itself)

#include "BenchWorld.h"
#include "Benchmarks.h"
#include "EchoPeer.h"
#include "Report.h"
#include "WriterOffice.h"
#include "ChildProcesses.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDBusConnection>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int RunEchoPeer(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  EchoPeer peer;
  if (!bus.registerObject(kEchoPath, &peer, QDBusConnection::ExportAllSlots) || !bus.registerService(kEchoService)) {
    std::fprintf(stderr, "penlark-bench: cannot serve %s\n", qPrintable(kEchoService));
    return 1;
  }
  return app.exec();
}

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--echo") == 0) return RunEchoPeer(argc, argv);

  std::string report, command = "penlark-bench";
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--report") == 0 && i + 1 < argc) report = argv[++i];
    else if (std::strcmp(argv[i], "--command") == 0 && i + 1 < argc) command = argv[++i];
    else rest.push_back(argv[i]);
  }
  int restCount = static_cast<int>(rest.size());
  rest.push_back(nullptr);

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(restCount, rest.data());
  benchmark::Initialize(&restCount, rest.data());
  if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 2;

  // An office the bench starts has a process group of its own, out of Ctrl-C's reach.
  KillListedGroupsOnInterrupt();
  BenchWorld world;
  if (!world.ok()) {
    std::fprintf(stderr, "penlark-bench: %s\n", qPrintable(world.error()));
    return 1;
  }
  SetWorld(&world);
  RegisterBenchmarks();
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  EndWriterOffice();

  const std::string table = RenderReport(reporter.results(), command);
  std::printf("\n%s", table.c_str());
  std::string error;
  if (!report.empty() && !WriteReport(report, table, &error)) {
    std::fprintf(stderr, "penlark-bench: %s\n", error.c_str());
    return 1;
  }
  if (!report.empty()) std::printf("\nwritten to %s\n", report.c_str());
  return 0;
}
