#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <optional>

namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name = "PENLARK.INI") const {
    return dir_.path().toStdString() + "/" + name;
  }
  void Put(const std::string& bytes) const {
    std::ofstream(Path(), std::ios::binary | std::ios::trunc) << bytes;
  }
  static std::string Bytes(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
  }
  void Write(const std::string& section, const std::string& key, const std::string& value) {
    const ProfileWriteResult result = WritePrivateProfileString(section, key, value, Path());
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(result.reason, "");
  }
  QTemporaryDir dir_;
};

TEST_F(ProfileFileTest, ReadsAsWindowsDoes) {
  Put("; kept\r\norphan=1\r\n[Options]\r\nOrganizer File Path = /data/ADDRESS.OR2  \r\n"
      "skip blank fields=1\r\nEmpty=\r\nBlank =   \t\r\nQuoted=\"  padded  \"\r\nSingle='x'\r\n"
      "NoEquals\r\n\r\n[  Spaced Section  ] trailing\r\nKey=spaced\r\n[options]\r\nSecond=2\r\n"
      "[Other]\r\nSeparator=,\xB6\xBB_\x80");
  struct Row {
    const char *section, *key, *def, *expected;
  } rows[] = {
      {"Options", "Organizer File Path", "", "/data/ADDRESS.OR2"},
      {"OPTIONS", "SKIP BLANK FIELDS", "", "1"}, {" Options ", "\tSkip Blank Fields ", "", "1"},
      {"Options", "Empty", "dflt", ""},          {"Options", "Blank", "dflt", ""},
      {"Options", "Quoted", "", "  padded  "},   {"Options", "Single", "", "x"},
      {"Options", "NoEquals", "dflt", "dflt"},   {"Options", "Missing", "English  ", "English"},
      {"Missing", "Key", "dflt", "dflt"},        {"spaced section", "KEY", "", "spaced"},
      {"Options", "Second", "dflt", "dflt"},     {"", "orphan", "dflt", "dflt"},
      {"other", "separator", "", ",\xC2\xB6\xC2\xBB_\xE2\x82\xAC"},  // Windows-1252
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.section) + " / " + row.key);
    EXPECT_EQ(GetPrivateProfileString(row.section, row.key, row.def, Path()), row.expected);
  }
  for (const std::string& file : {Path("none.ini"), Path("no/such/dir.ini"), Path("."), std::string()}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(GetPrivateProfileString("Options", "Key", "English", file), "English");
    EXPECT_EQ(GetPrivateProfileInt("Options", "Key", 99, file), 99);
  }
}

TEST_F(ProfileFileTest, IntTakesTheLeadingNumber) {
  struct Row {
    std::optional<std::string> line;  // nothing: no key at all
    int def, expected;
  } rows[] = {
      {"K=12abc", 5, 12}, {"K=abc", 5, 0},       {"K=", 5, 5},        {std::nullopt, 5, 5},
      {"K=-5", 5, -5},    {"K= 7 ", 5, 7},       {"K=+1", 5, 1},      {"K=0", 5, 0},
      {"K=\"42\"", 0, 42}, {"K=0x1A", 0, 26},    {"K=0o17", 0, 15},   {"K=0b101", 0, 5},
      {"K=4294967297", 0, 1}, {"K=-4294967297", 0, -1}, {"K=1.9", 0, 1}, {"K=- 3", 4, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line.value_or("(no key)"));
    Put("[Options]\n" + row.line.value_or("Other=1") + "\n");
    EXPECT_EQ(GetPrivateProfileInt("Options", "K", row.def, Path()), row.expected);
  }
}

TEST_F(ProfileFileTest, WriteChangesOneLineAndKeepsTheRest) {
  struct Row {
    std::optional<std::string> before;  // nothing: no file yet
    const char *section, *key, *value;
    std::string after;
  } rows[] = {
      {std::nullopt, " Options ", " A ", "  spaced value  ", "[Options]\nA=spaced value\n"},
      {"; top\r\n[Options]\r\nPath = old  \r\n; note\r\n\r\n[options]\r\nPath=2\r\n[Other]\r\nPath=9",
       "OPTIONS", "path", "/home/ann/NEW.OR3",
       "; top\r\n[Options]\r\nPath = /home/ann/NEW.OR3\r\n; note\r\n\r\n[options]\r\nPath=2\r\n"
       "[Other]\r\nPath=9"},
      {"[Address Profiles]\n0=Letters\n; note\n\n\n[Profile 0]\nField 0=x\n", "address profiles",
       "1", "Invoices", "[Address Profiles]\n0=Letters\n; note\n1=Invoices\n\n\n[Profile 0]\nField 0=x\n"},
      {"; top\r\n[Options]\r\nA=1", "Recent Settings", "Search By", "True",
       "; top\r\n[Options]\r\nA=1\r\n[Recent Settings]\r\nSearch By=True\r\n"},
      {"[Profile 0]\r\nSeparator 0=,\xB6\r\n", "Profile 0", "Separator 1", "\xC2\xBB",
       "[Profile 0]\r\nSeparator 0=,\xC2\xB6\r\nSeparator 1=\xC2\xBB\r\n"},
      {"\xEF\xBB\xBF[Options]\nA=\xC2\xB6\n", "Options", "B", "2",
       "\xEF\xBB\xBF[Options]\nA=\xC2\xB6\nB=2\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.after);
    ::unlink(Path().c_str());
    if (row.before) Put(*row.before);
    Write(row.section, row.key, row.value);
    EXPECT_EQ(Bytes(Path()), row.after);
  }
}

TEST_F(ProfileFileTest, WholeValuesComeBack) {
  for (const std::string& value : {std::string(32, 'N'), "/home/ann/" + std::string(290, 'f')}) {
    Write("Options", "Organizer File Path", value);
    EXPECT_EQ(GetPrivateProfileString("Options", "Organizer File Path", "", Path()), value);
  }
}

TEST_F(ProfileFileTest, FailedOrRefusedWritesSayWhyAndLeaveTheFile) {
  const std::string before = "[Options]\nA=1\n";
  ASSERT_EQ(::mkdir(Path("folder.ini").c_str(), 0755), 0);
  struct Row {
    std::string section, key, value, file, reason;  // reason "?": any
  } rows[] = {
      {"Options", "A", "two\nlines", Path(), "?"},  {"Options", "A", "x\r\n[Evil]", Path(), "?"},
      {"Opt]ions", "A", "1", Path(), "?"},          {"Options", "A=B", "1", Path(), "?"},
      {"Options", ";A", "1", Path(), "?"},
      {"Options", "A", "2", Path("folder.ini"), "Is a directory"},
      {"Options", "A", "2", Path("missing/PENLARK.INI"), "No such file or directory"},
      {"Options", "A", "2", Path(), "Is a directory"},  // the temporary file cannot be made
  };
  Put(before);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.section + " / " + row.key + " / " + row.value + " / " + row.file);
    if (&row == &rows[std::size(rows) - 1]) {
      ASSERT_EQ(::mkdir((Path() + ".tmp").c_str(), 0755), 0);
    }
    const ProfileWriteResult result = WritePrivateProfileString(row.section, row.key, row.value, row.file);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(row.reason == "?" ? !result.reason.empty() : result.reason == row.reason) << result.reason;
    EXPECT_EQ(Bytes(Path()), before);
  }
}

TEST_F(ProfileFileTest, ReplacementIsANewFileWithTheOldModeWhereALinkPoints) {
  const std::string real = Path("real.ini");
  std::ofstream(real) << "[Options]\nA=1\n";
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(::link(real.c_str(), Path("old.ini").c_str()), 0);
  ASSERT_EQ(::symlink(real.c_str(), Path().c_str()), 0);
  Write("Options", "A", "2");
  struct stat st {};
  ASSERT_EQ(::lstat(Path().c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_nlink, 1u);  // renamed over, not written into
  EXPECT_EQ(Bytes(Path("old.ini")), "[Options]\nA=1\n");
  EXPECT_EQ(Bytes(real), "[Options]\nA=2\n");
  EXPECT_NE(::access((real + ".tmp").c_str(), F_OK), 0);
}

}  // namespace
