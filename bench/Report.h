#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// One benchmark's outcome: the median time per run over the repetitions, its counters
// (round trips, file reads, peak memory), or why it could not run.
struct BenchResult {
  double microseconds = 0;
  std::map<std::string, double> counters;
  std::string error;
};
using BenchResults = std::map<std::string, BenchResult>;  // by registered name

// Prints as the console reporter does and keeps each benchmark's median for the table.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  const BenchResults& results() const { return results_; }

 private:
  BenchResults results_;
};

// The table in Markdown: each figure beside its floor, the ratio, the target and whether
// it was met, preceded by the command and the machine.
std::string RenderReport(const BenchResults& results, const std::string& command);

// Puts the report between the begin and end marks of the file, keeping what stands around
// them; a file without the marks gets them at its end. False, with *error, on failure.
bool WriteReport(const std::string& path, const std::string& report, std::string* error);
