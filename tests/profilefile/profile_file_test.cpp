#include "profilefile/ProfileFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <tuple>

namespace {

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
      {" Options ", "\tSkip Blank Fields ", "", "1"}, {"Options", "Empty", "dflt", ""},
      {"Options", "Quoted", "", "  padded  "},       {"Options", "NoEquals", "dflt", "dflt"},
      {"Options", "Missing", "English  ", "English"}, {"Missing", "Key", "dflt", "dflt"},
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
        end + "[Target=x" + end + end + "Key=found" + end + "[Target]" + end + "Later=no");
    const char* rows[][2] = {{"Key", "found"}, {"[Target", "x"}, {"Later", "dflt"}, {"Missing", "dflt"}};
    for (auto [key, expected] : rows) EXPECT_EQ(GetPrivateProfileString("Target", key, "dflt", Path()), expected) << key;
    EXPECT_EQ(GetPrivateProfileString("Other", "Key", "", Path()), "[Target]");
  }
}

// A file is read to its end whatever its size, and whatever it is: a pipe has no size.
TEST_F(ProfileFileTest, ReadsToTheEndOfLargeFilesAndPipes) {
  const std::string big = "[Options]\n" + std::string(200000, ';') + "\nLast=" + std::string(70000, 'x');
  Put(big);
  EXPECT_EQ(GetPrivateProfileString("Options", "Last", "", Path()).size(), 70000u);
  const std::string fifo = Path("pipe.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << big; });
  EXPECT_EQ(GetPrivateProfileString("Options", "Last", "", fifo).size(), 70000u);
  writer.join();
}

TEST_F(ProfileFileTest, IntTakesTheLeadingNumber) {
  const std::pair<std::optional<std::string>, int> rows[] = {  // nothing: no key; default 5
      {"K=12abc", 12}, {"K=abc", 0},   {"K=", 5},          {std::nullopt, 5},   {"K=-5", -5},
      {"K= 7 ", 7},    {"K=+1", 1},    {"K=\"42\"", 42},   {"K=0x1A", 26},      {"K=0o17", 15},
      {"K=0b101", 5},  {"K=1.9", 1},   {"K=- 3", 0},       {"K=4294967297", 1}, {"K=-4294967297", -1}};
  for (const auto& [line, expected] : rows) {
    SCOPED_TRACE(line.value_or("(no key)"));
    Put("[Options]\n" + line.value_or("Other=1") + "\n");
    EXPECT_EQ(GetPrivateProfileInt("Options", "K", 5, Path()), expected);
  }
}

TEST_F(ProfileFileTest, WriteChangesOneLineAndKeepsTheRest) {
  struct Row {
    std::optional<std::string> before;  // nothing: no file yet
    const char *section, *key, *value, *after;
  } rows[] = {
      {std::nullopt, " Options ", " A ", "  spaced value  ", "[Options]\nA=spaced value\n"},
      {"; top\r\n[Options]\r\nPath = old  \r\n; note\r\n\r\n[options]\r\nPath=2\r\n[Other]\r\nPath=9", "OPTIONS",
       "path", "/home/ann/NEW.OR3",
       "; top\r\n[Options]\r\nPath = /home/ann/NEW.OR3\r\n; note\r\n\r\n[options]\r\nPath=2\r\n[Other]\r\nPath=9"},
      {"[Address Profiles]\n0=Letters\n; note\n\n\n[Profile 0]\nF=x\n", "address profiles", "1", "Invoices",
       "[Address Profiles]\n0=Letters\n; note\n1=Invoices\n\n\n[Profile 0]\nF=x\n"},
      {"[Options]\r\nA=\xB6", "Recent Settings", "Search By", "True",
       "[Options]\r\nA=\xC2\xB6\r\n[Recent Settings]\r\nSearch By=True\r\n"},
      {"\xEF\xBB\xBF[Options]\nA=1\n", "Options", "B", "2", "\xEF\xBB\xBF[Options]\nA=1\nB=2\n"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.after);
    ::unlink(Path().c_str());
    if (row.before) Put(*row.before);
    EXPECT_EQ(Write(row.section, row.key, row.value), "ok");
    EXPECT_EQ(Bytes(Path()), row.after);
  }
  for (const std::string& value : {std::string(32, 'N'), "/home/ann/" + std::string(290, 'f')}) {
    EXPECT_EQ(Write("Options", "Organizer File Path", value), "ok");
    EXPECT_EQ(GetPrivateProfileString("Options", "Organizer File Path", "", Path()), value);
  }
}

TEST_F(ProfileFileTest, FailedOrRefusedWritesSayWhyAndLeaveTheFile) {
  const std::string before = "[Options]\nA=1\n";
  Put(before);
  // The temporary file cannot be made for PENLARK.INI; the refusals come before it is tried.
  ASSERT_EQ(::mkdir(Path("folder.ini").c_str(), 0755) + ::mkdir((Path() + ".tmp").c_str(), 0755), 0);
  std::ofstream(Path("readonly.ini")) << before;
  ASSERT_EQ(::chmod(Path("readonly.ini").c_str(), 0444), 0);  // refused even for root
  const std::string rows[][5] = {
      {"Options", "A", "x\r\n[Evil]", "", "The value of \"A\" holds a line break."},
      {"Opt]ions", "A", "1", "", "The section name \"Opt]ions\" holds a line break or \"]\"."},
      {"Options", ";A", "1", "", "The key \";A\" holds a line break or \"=\", or starts with \"[\" or \";\"."},
      {"Options", "A", "\xff", "", "The section, key or value is not UTF-8 text."},
      {"Options", "A", "2", Path("readonly.ini"), "Permission denied"},
      {"Options", "A", "2", Path("folder.ini"), "Is a directory"},
      {"Options", "A", "2", Path("missing/PENLARK.INI"), "No such file or directory"},
      {"Options", "A", "2", "", "Is a directory"}};
  for (const auto& [section, key, value, file, reason] : rows) {
    SCOPED_TRACE(section + " / " + key + " / " + value + " / " + file);
    EXPECT_EQ(Write(section, key, value, file), reason);
    EXPECT_EQ(Bytes(Path()) + Bytes(Path("readonly.ini")), before + before);
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
  EXPECT_NE(::access((real + ".tmp").c_str(), F_OK), 0);
}

}  // namespace
