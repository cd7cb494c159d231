#pragma once

// Registers every benchmark, in the order the table lists them. Each runs against
// World(); one that cannot run reports why as its error instead of a time.
void RegisterBenchmarks();

// The names the table looks results up by.
namespace BenchNames {
inline constexpr const char* RoundTrip = "floor/round_trip";
inline constexpr const char* KeyRead = "floor/ini_key_read";
inline constexpr const char* FileBytes = "floor/ini_file_bytes";
inline constexpr const char* DdeRequest = "dde/request";
inline constexpr const char* AutomationCall = "automation/call";
inline constexpr const char* Search = "search/records:";  // + the address book's size
inline constexpr const char* Transfer = "transfer/twelve_rows";
inline constexpr const char* WriterTransfer = "transfer/twelve_rows_writer";
inline constexpr const char* ReadConfig = "config/ReadConfigString";
inline constexpr const char* Startup = "startup/penlark";
inline constexpr const char* CardDavCopy = "carddav/first_copy:10000";
inline constexpr const char* ServeVcards = "serve/vcard_100000";
inline constexpr long long SearchSizes[] = {100, 10000, 1000000};
}  // namespace BenchNames
