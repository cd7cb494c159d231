#include "profilefile/ProfileFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>

#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <tuple>

namespace {

// UTF-16LE bytes, as a Windows editor saves "Unicode".
std::string Le(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return out;
}

class ProfileFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& n = "PENLARK.INI") const { return dir_.path().toStdString() + '/' + n; }
  void Put(const std::string& bytes) const { std::ofstream(Path(), std::ios::binary | std::ios::trunc) << bytes; }
  static std::string Bytes(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
  }
  // "ok" (and no reason), or the reason the write failed.
  std::string Write(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& file = {}) const {
    const ProfileWriteResult r = WritePrivateProfileString(section, key, value, file.empty() ? Path() : file);
    return r.ok ? "ok" + r.reason : r.reason;
  }
  QTemporaryDir dir_;
};

TEST_F(ProfileFileTest, ReadsAsWindowsDoes) {
  Put("orphan=1\r\n[Options]\r\nOrganizer File Path = /data/ADDRESS.OR2  \r\nskip blank fields=1\r\nEmpty=\r\n"
      "Quoted=\"  padded  \"\r\nNoEquals\r\n[options]\r\nSecond=2\r\n[Other]\r\nSeparator=,\xB6\xBB_\x80");
  const char* rows[][4] = {
      {"Options", "Organizer File Path", "", "/data/ADDRESS.OR2"}, {"OPTIONS", "SKIP BLANK FIELDS", "", "1"},
      {" Options ", " Skip Blank Fields ", "", "1"}, {"Options", "Empty", "dflt", ""},
      {"\tOptions", "Skip Blank Fields", "dflt", "dflt"}, {"Options", "Skip Blank Fields\t", "dflt", "dflt"},
      {"Options", "Missing", "tab\t  ", "tab\t"},     {"Options", "Quoted", "", "  padded  "},
      {"Options", "NoEquals", "dflt", "dflt"},        {"Missing", "Key", "dflt", "dflt"},
      {"Options", "Second", "dflt", "dflt"},          {"", "orphan", "dflt", "dflt"},
      {"other", "separator", "", ",\xC2\xB6\xC2\xBB_\xE2\x82\xAC"}};  // Windows-1252
  for (auto [section, key, def, expected] : rows) {
    SCOPED_TRACE(std::string(section) + " / " + key);
    EXPECT_EQ(GetPrivateProfileString(section, key, def, Path()), expected);
  }
  for (const std::string& file : {Path("none.ini"), Path("."), std::string()})
    EXPECT_EQ(GetPrivateProfileString("Options", "Key", "English", file) +
                  std::to_string(GetPrivateProfileInt("Options", "Key", 99, file)), "English99") << file;
}

// A header is a line whose first non-blank is "["; one anywhere else is only text.
TEST_F(ProfileFileTest, HeadersAreWholeLinesWhateverTheLineEnds) {
  for (const std::string end : {"\n", "\r", "\r\n"}) {
    SCOPED_TRACE(end == "\r" ? "CR" : end == "\n" ? "LF" : "CR LF");
    Put(" ; [Target]" + end + "Key=[Target]" + end + "[Other]" + end + "Key=[Target]" + end + " \t[ target ] " +
        end + end + "Key=found" + end + "[Target]" + end + "Later=no" + end + "[T]x]" + end + "Key=t" + end +
        "[Broken \t" + end + "Key=broken" + end + "[Target=x" + end + "Key=header");
    // A name ends at the first "]", or with the line when there is none.
    const char* rows[][3] = {{"Target", "Key", "found"}, {"Target", "Later", "dflt"}, {"Target", "Missing", "dflt"},
                             {"Other", "Key", "[Target]"}, {"T", "Key", "t"},  {"T]x", "Key", "dflt"},
                             {"Broken", "Key", "broken"},  {"Target=x", "Key", "header"}};
    for (auto [section, key, expected] : rows)
      EXPECT_EQ(GetPrivateProfileString(section, key, "dflt", Path()), expected) << section << " / " << key;
  }
}

// A file is read to its end whatever it is: a pipe has no size. (Large regular files are
// read through in HostileConfigTest: a 10 MB line, 100,000 sections.)
TEST_F(ProfileFileTest, ReadsToTheEndOfLargeFilesAndPipes) {
  const std::string big = "[Options]\n" + std::string(200000, ';') + "\nLast=" + std::string(70000, 'x');
  const std::string fifo = Path("pipe.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << big; });
  EXPECT_EQ(GetPrivateProfileString("Options", "Last", "", fifo).size(), 70000u);
  writer.join();
}

TEST_F(ProfileFileTest, IntTakesTheLeadingNumber) {
  const std::pair<std::optional<std::string>, int> rows[] = {  // nothing: no key; default 5
      {"K=12abc", 12}, {"K=abc", 0},   {"K=", 5},      {std::nullopt, 5},   {"K=-5", -5},
      {"K= 7 ", 7},    {"K=+1", 1},    {"K=0o17", 15}, {"K=0b101", 5},      {"K=- 3", 0},
      {"K=\" 9\"", 9}, {"K=0x1F", 31}, {"K=0X1F", 0},  {"K=4294967297", 1}, {"K=-4294967297", -1}};
  for (const auto& [line, expected] : rows) {
    SCOPED_TRACE(line.value_or("(no key)"));
    Put("[Options]\n" + line.value_or("Other=1") + "\n");
    EXPECT_EQ(GetPrivateProfileInt("Options", "K", 5, Path()), expected);
  }
}

TEST_F(ProfileFileTest, WriteChangesOneLineAndKeepsTheRest) {
  struct Row {
    std::optional<std::string> before;  // nothing: no file yet
    const char *section, *key;
    std::string value, after;
  } rows[] = {
      {std::nullopt, " Options ", " A ", "  spaced value  ", "[Options]\nA=spaced value\n"},
      {"[Options]\n", "Options", "Path", "/home/ann/" + std::string(290, 'f'), "[Options]\nPath=/home/ann/" + std::string(290, 'f') + "\n"},
      {"; top\r\n[Options]\r\nPath = old  \r\n; note\r\n\r\n[options]\r\nPath=2\r\n[Other]\r\nPath=9", "OPTIONS",
       "path", "/home/ann/NEW.OR3",
       "; top\r\n[Options]\r\nPath = /home/ann/NEW.OR3\r\n; note\r\n\r\n[options]\r\nPath=2\r\n[Other]\r\nPath=9"},
      {"[Address Profiles]\n0=Letters\n; note\n\n\n[Profile 0]\nF=x\n", "address profiles", "1", "Invoices",
       "[Address Profiles]\n0=Letters\n; note\n1=Invoices\n\n\n[Profile 0]\nF=x\n"},
      // A file keeps its encoding, and untouched lines their bytes: Windows-1252 ...
      {"[Options]\r\nA=\xB6", "Recent Settings", "Search By", "True",
       "[Options]\r\nA=\xB6\r\n[Recent Settings]\r\nSearch By=True\r\n"},
      {"[P]\r\nS=\xB6\r\nT=1\r\n", "P", "T", "\xE2\x82\xAC\xC2\xBB", "[P]\r\nS=\xB6\r\nT=\x80\xBB\r\n"},
      // ... unless a value needs more: then all of it turns UTF-8.
      {"[P]\r\nS=\xB6\r\n", "P", "T", "\xE2\x86\x92", "[P]\r\nS=\xC2\xB6\r\nT=\xE2\x86\x92\r\n"},
      {"[P]\nS=\xC2\xB6\n", "P", "T", "\xC2\xBB", "[P]\nS=\xC2\xB6\nT=\xC2\xBB\n"},
      {Le(u"\uFEFF[P]\r\nS=\u00B6\r\n"), "P", "T", "\xE2\x86\x92", Le(u"\uFEFF[P]\r\nS=\u00B6\r\nT=\u2192\r\n")},
      {Le(u"\uFEFF[P]\r\nS=\u00B6\r\n\xD800"), "Q", "K", "v", Le(u"\uFEFF[P]\r\nS=\u00B6\r\n\xD800\r\n[Q]\r\nK=v\r\n")}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.after);
    ::unlink(Path().c_str());
    if (row.before) Put(*row.before);
    EXPECT_EQ(Write(row.section, row.key, row.value), "ok");
    EXPECT_EQ(Bytes(Path()), row.after);
    std::string_view value = row.value;  // read back without the blanks around it
    value = value.substr(value.find_first_not_of(' '), value.find_last_not_of(' ') - value.find_first_not_of(' ') + 1);
    EXPECT_EQ(GetPrivateProfileString(row.section, row.key, "", Path()), value);
    if (std::string_view("PQ").find(row.section) != std::string_view::npos)  // and the untouched "¶"
      EXPECT_EQ(GetPrivateProfileString("P", "S", "", Path()), "\xC2\xB6");
  }
}

TEST_F(ProfileFileTest, FailedOrRefusedWritesSayWhyAndLeaveTheFile) {
  const std::string before = "[Options]\nA=1\n";
  Put(before);
  ASSERT_EQ(::mkdir(Path("folder.ini").c_str(), 0755), 0);
  const std::string rows[][5] = {
      {"Options", "A", "x\r\n[Evil]", "", "The value of \"A\" holds a line break."},
      {"Opt]ions", "A", "1", "", "The section name \"Opt]ions\" holds a line break or \"]\"."},
      {"Options", ";A", "1", "", "The key \";A\" holds a line break or \"=\", or starts with \"[\" or \";\"."},
      {"\tOptions", "A", "1", "", "The name \"\tOptions\" starts or ends with a blank that is not a space."},
      {"Options", "A\t ", "1", "", "The name \"A\t\" starts or ends with a blank that is not a space."},
      {"Options", "A", "\xff", "", "The section, key or value is not UTF-8 text."},
      {"Options", "A", "2", Path("folder.ini"), "Is a directory"},
      // The temporary file's name is too long for the folder.
      {"Options", "A", "2", Path(std::string(252, 'n')), "File name too long"}};
  for (const auto& [section, key, value, file, reason] : rows) {
    SCOPED_TRACE(section + " / " + key + " / " + value + " / " + file);
    EXPECT_EQ(Write(section, key, value, file), reason);
    EXPECT_EQ(Bytes(Path()), before);
  }
  // Written together with a refused one, a good value is not written either.
  EXPECT_EQ(WritePrivateProfileStrings({{"Options", "B", "2"}, {"Options", "A", "x\ny"}}, Path()).reason,
            "The value of \"A\" holds a line break.");
  EXPECT_EQ(Bytes(Path()), before);
}

TEST_F(ProfileFileTest, ReplacementIsANewFileWithTheOldModeWhereALinkPoints) {
  const std::string real = Path("real.ini");
  std::ofstream(real) << "[Options]\nA=1\n";
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(::link(real.c_str(), Path("old.ini").c_str()), 0);
  ASSERT_EQ(::symlink(real.c_str(), Path().c_str()), 0);
  EXPECT_EQ(Write("Options", "A", "2"), "ok");
  struct stat link {}, st {};
  ASSERT_EQ(::lstat(Path().c_str(), &link) + ::stat(real.c_str(), &st), 0);
  // Still a link, the old mode, and renamed over rather than written into.
  EXPECT_EQ(std::make_tuple(S_ISLNK(link.st_mode), st.st_mode & 07777, st.st_nlink),
            std::make_tuple(true, 0640u, nlink_t{1}));
  EXPECT_EQ(Bytes(Path("old.ini")) + Bytes(real), "[Options]\nA=1\n[Options]\nA=2\n");
  // And no temporary file left; the lock stays beside the file.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            QStringList({"PENLARK.INI", "old.ini", "real.ini", "real.ini.lock"}));
}

// A reader waits for a writer that holds the lock beside the file only a moment, and a
// temporary file left by another writer is no obstacle. That writers take turns on the
// lock: reliability.ConcurrentWritesTest (two processes, a thousand writes each).
TEST_F(ProfileFileTest, ReadersDoNotWaitOnAStalledWriterAndALeftTemporaryFileIsNoObstacle) {
  Put("[Options]\nA=1\n");
  ASSERT_EQ(::mkdir((Path() + ".tmp").c_str(), 0755), 0);
  const int lock = ::open((Path() + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(GetPrivateProfileString("Options", "A", "", Path()), "1");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  ::close(lock);
  EXPECT_EQ(Write("Options", "A", "2"), "ok");
  EXPECT_EQ(Bytes(Path()), "[Options]\nA=2\n");
}

}  // namespace
