#include "Report.h"

#include "Benchmarks.h"
#include "WriterOffice.h"

#include <QtGlobal>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include <sys/utsname.h>
#include <unistd.h>

namespace {

const std::string kBegin = "<!-- penlark-bench table: begin -->";
const std::string kEnd = "<!-- penlark-bench table: end -->";

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Time(double microseconds) {
  if (microseconds >= 100000) return Format("%.0f ms", microseconds / 1000);
  if (microseconds >= 1000) return Format("%.2f ms", microseconds / 1000);
  return Format("%.1f µs", microseconds);
}

std::string Ratio(double value) { return Format("%.2f×", value); }

std::string Signed(double microseconds) { return (microseconds >= 0 ? "+" : "−") + Time(std::fabs(microseconds)); }

std::string Machine() {
  std::string cpu = "unknown processor";
  std::ifstream info("/proc/cpuinfo");
  for (std::string line; std::getline(info, line);) {
    if (line.rfind("model name", 0) == 0 && line.find(':') != std::string::npos) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  }
  utsname system{};
  uname(&system);
  std::ostringstream out;
  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  out << cpu << ", " << sysconf(_SC_NPROCESSORS_ONLN) << " cores, Linux " << system.release << "; Qt "
      << qVersion() << ", " << PENLARK_BUILD_TYPE << " build; load average "
      << Format("%.2f", load[0]) << " at the end (the machine is shared)";
  return out.str();
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  return text;
}

class Table {
 public:
  explicit Table(const BenchResults& results) : results_(results) {}

  const BenchResult* Find(const std::string& name) const {
    auto it = results_.find(name);
    return it == results_.end() || !it->second.error.empty() ? nullptr : &it->second;
  }
  bool Has(const BenchResult& result, const std::string& name) const { return result.counters.count(name) > 0; }
  double Counter(const BenchResult& result, const std::string& name) const {
    auto it = result.counters.find(name);
    return it == result.counters.end() ? -1 : it->second;
  }

  // What the run's round trips and file reads cost at the floor, timed beside it;
  // negative when unknown.
  double FloorOf(const BenchResult& result) const { return Counter(result, "floor_us"); }
  std::string FloorText(const BenchResult& result) const {
    const double floor = FloorOf(result);
    if (floor < 0) return "unknown";
    const double trips = Counter(result, "round_trips"), reads = Counter(result, "file_reads");
    return Format("%.0f round trip", trips) + (trips == 1 ? "" : "s") + Format(" + %.0f file read", reads) +
           (reads == 1 ? "" : "s") + " = " + Time(floor);
  }

  void Row(const std::string& what, const std::string& name, const std::string& time,
           const std::string& floor, const std::string& ratio, const std::string& target,
           const std::string& verdict) {
    auto it = results_.find(name);
    if (it != results_.end() && !it->second.error.empty()) {
      out_ << "| " << what << " | failed: " << it->second.error << " | | | " << target << " | missed |\n";
      return;
    }
    out_ << "| " << what << " | " << time << " | " << floor << " | " << ratio << " | " << target
         << " | " << verdict << " |\n";
  }

  // A figure against a floor of round trips and file reads, with an optional limit on
  // the ratio (0: none).
  void AgainstFloor(const std::string& what, const std::string& name, double limit, std::string extraTarget = {},
                    int extraMet = -1) {
    const BenchResult* result = Find(name);
    if (!result) return Row(what, name, "not run", "", "", "", "");
    const double ratio = Counter(*result, "ratio");
    std::string target = limit > 0 ? "≤ " + Format("%.0f×", limit) : "";
    if (!extraTarget.empty()) target += (target.empty() ? "" : extraTarget[0] == '(' ? " " : "; ") + extraTarget;
    std::string verdict;
    if (limit > 0 || extraMet >= 0) {
      const bool met = (limit <= 0 || (ratio >= 0 && ratio <= limit)) && extraMet != 0;
      verdict = met ? "met" : "missed";
    }
    Row(what, name, Time(result->microseconds), FloorText(*result), ratio >= 0 ? Ratio(ratio) : "", target, verdict);
  }

  std::string Render() {
    using namespace BenchNames;
    out_ << "| Measure | Time | Floor | Ratio | Target | Verdict |\n|---|---:|---|---:|---|---|\n";
    const BenchResult* trip = Find(RoundTrip);
    const BenchResult* read = Find(KeyRead);
    const BenchResult* bytes = Find(FileBytes);
    Row("Floor: bare D-Bus method round trip between two processes", RoundTrip,
        trip ? Time(trip->microseconds) : "", "", "", "", "");
    Row("Floor: one key read from PENLARK.INI, 32 profiles (" + std::to_string(FileSize()) + " bytes)",
        KeyRead, read ? Time(read->microseconds) : "", "", "", "", "");
    Row("… of which opening and reading the file's bytes", FileBytes, bytes ? Time(bytes->microseconds) : "",
        "", read && bytes ? Format("%.0f%%", 100 * bytes->microseconds / read->microseconds) + " of a read" : "",
        "", "");
    AgainstFloor("DDE request, our client and the address-book stand-in", DdeRequest, 0);
    AgainstFloor("Automation call (Selection.GoTo), our client and the word stand-in", AutomationCall, 0);

    for (long long records : SearchSizes) {
      const std::string name = Search + std::to_string(records);
      const std::string what = "Search listing ten, address book of " + Grouped(records) + " records";
      const BenchResult* result = Find(name);
      const bool paired = result && Has(*result, "over_baseline_us");
      const double over = paired ? Counter(*result, "over_baseline_us") : 0;
      if (records == SearchSizes[std::size(SearchSizes) - 1] && paired) {
        AgainstFloor(what, name, 2,
                     "≤ 2 ms over " + Grouped(SearchSizes[0]) + " records (" + Signed(over) + ", paired run by run)",
                     over <= 2000 ? 1 : 0);
      } else {
        AgainstFloor(what, name, 2,
                     paired ? "(" + Signed(over) + " over " + Grouped(SearchSizes[0]) + " records, paired)" : "");
      }
    }
    AgainstFloor("Twelve-row transfer, Word 97 object model, into penlark-word", Transfer, 2);
    WriterRow();

    const BenchResult* ours = Find(ReadConfig);
    const double theirs = ours ? Counter(*ours, "qsettings_us") : -1;
    Row("Configuration read, ReadConfigString", ReadConfig, ours ? Time(ours->microseconds) : "",
        theirs > 0 ? "QSettings " + Time(theirs) : "", theirs > 0 ? Ratio(Counter(*ours, "ratio")) : "",
        "≤ 1× QSettings", theirs > 0 ? (Counter(*ours, "ratio") <= 1 ? "met" : "missed") : "");
    Row("QSettings, same key and file (INI format), by turns with it: what it kept", ReadConfig,
        theirs > 0 ? Time(theirs) : "", "", "", "", "");
    const double afresh = ours ? Counter(*ours, "qsettings_afresh_us") : -1;
    Row("QSettings, same key and file, after the file's time moved: it reads the file", ReadConfig,
        afresh > 0 ? Time(afresh) : "", "", afresh > 0 ? Ratio(ours->microseconds / afresh) + " ours to it" : "",
        "", "");

    const BenchResult* start = Find(Startup);
    Row("Start-up of penlark to the main window ready, offscreen", Startup, start ? Time(start->microseconds) : "",
        "", "", "≤ 300 ms", start ? (start->microseconds <= 300000 ? "met" : "missed") : "");
    const double peak = start ? Counter(*start, "peak_rss_mb") : -1;
    Row("Start-up peak resident memory", Startup, peak >= 0 ? Format("%.1f MB", peak) : "", "", "", "< 60 MB",
        peak >= 0 ? (peak < 60 ? "met" : "missed") : "");
    CardDavRow();
    VcardRows();
    return out_.str();
  }

  // No target of its own: most of it is the server's, which the floor shows.
  void CardDavRow() {
    const BenchResult* dav = Find(BenchNames::CardDavCopy);
    const double floor = dav ? Counter(*dav, "floor_us") : -1;
    Row("CardDAV: first copy of a 10,000-card address book from Radicale, start to serving", BenchNames::CardDavCopy,
        dav ? Time(dav->microseconds) : "not run", floor > 0 ? "one REPORT of every card = " + Time(floor) : "",
        floor > 0 ? Ratio(Counter(*dav, "ratio")) : "", "", "");
  }

  // The same transfer into LibreOffice Writer: against the same floor, and against the
  // transfer into penlark-word, which is its target: the person waits for either the same way.
  void WriterRow() {
    const std::string what = "Twelve-row transfer, the same, into LibreOffice Writer through penlark-writer";
    const std::string target = "≤ 2× penlark-word's";
    if (!WriterBuilt()) return Row(what, BenchNames::WriterTransfer, "not built (no LibreOffice SDK)", "", "", target, "");
    const BenchResult* writer = Find(BenchNames::WriterTransfer);
    const BenchResult* word = Find(BenchNames::Transfer);
    if (!writer) return Row(what, BenchNames::WriterTransfer, "not run", "", "", target, "");
    const double ratio = Counter(*writer, "ratio");
    std::string ratios = ratio >= 0 ? Ratio(ratio) : "";
    std::string verdict;
    if (word && word->microseconds > 0) {
      const double toWord = writer->microseconds / word->microseconds;
      ratios += "; " + Ratio(toWord) + " penlark-word's";
      verdict = toWord <= 2 ? "met" : "missed";
    }
    Row(what, BenchNames::WriterTransfer, Time(writer->microseconds), FloorText(*writer), ratios, target, verdict);
  }

  // The address book started on a vCard file of 100,000 cards, until it serves it.
  void VcardRows() {
    const BenchResult* serve = Find(BenchNames::ServeVcards);
    const double floor = serve ? Counter(*serve, "floor_us") : -1;
    const double size = serve ? Counter(*serve, "file_mb") : -1;
    Row("Serving a vCard file of 100,000 cards (" + (size > 0 ? Format("%.1f MB", size) : std::string("?")) +
            "), penlark-organizer from start until it serves",
        BenchNames::ServeVcards, serve ? Time(serve->microseconds) : "not run",
        floor > 0 ? "reading the file's bytes " + Time(floor) : "", serve ? Ratio(Counter(*serve, "ratio")) : "",
        "< 1 s", serve ? (serve->microseconds < 1e6 ? "met" : "missed") : "");
    const double cpu = serve ? Counter(*serve, "cpu_ms") : -1;
    Row("… the processor time it used by then (user and system)", BenchNames::ServeVcards,
        cpu >= 0 ? Time(cpu * 1000) : "", "", "", "", "");
    const double peak = serve ? Counter(*serve, "peak_rss_mb") : -1;
    Row("… its peak resident memory", BenchNames::ServeVcards, peak >= 0 ? Format("%.1f MB", peak) : "", "", "",
        "< 100 MB", peak >= 0 ? (peak < 100 ? "met" : "missed") : "");
  }

  long FileSize() const {
    const BenchResult* read = Find(BenchNames::KeyRead);
    return read ? static_cast<long>(Counter(*read, "ini_bytes")) : 0;
  }
  static std::string Grouped(long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
  }

 private:
  const BenchResults& results_;
  std::ostringstream out_;
};

}  // namespace

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
    if (run.run_type == Run::RT_Iteration && run.repetitions > 1 && !run.error_occurred) continue;
    BenchResult& result = results_[run.run_name.function_name];
    if (run.error_occurred) {
      result.error = run.error_message;
      continue;
    }
    result.microseconds = run.GetAdjustedRealTime() * 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    for (const auto& [name, counter] : run.counters) result.counters[name] = counter.value;
  }
}

std::string RenderReport(const BenchResults& results, const std::string& command) {
  std::ostringstream out;
  out << "- Made by `" << command << "` on " << Today() << ".\n"
      << "- Machine: " << Machine() << ".\n"
      << "- Each time is the median of three repetitions. A floor is timed straight after each run of\n"
      << "  the figure it belongs to (as many bare round trips and key reads as the run made, counted\n"
      << "  with dbus-monitor and inotify), so both see the same load; a ratio is the median of the\n"
      << "  runs' own ratios.\n\n"
      << Table(results).Render();
  return out.str();
}

bool WriteReport(const std::string& path, const std::string& report, std::string* error) {
  std::string text;
  {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
  }
  const std::string block = kBegin + "\n" + report + kEnd;
  const size_t begin = text.find(kBegin);
  const size_t end = text.find(kEnd);
  if (begin != std::string::npos && end != std::string::npos && end > begin) {
    text.replace(begin, end + kEnd.size() - begin, block);
  } else {
    if (text.empty()) text = "# Performance\n";
    text += "\n" + block + "\n";
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}
