#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <sstream>

namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name = "PENLARK.INI") const {
    return dir_.path().toStdString() + "/" + name;
  }
  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& file) {
    const ProfileWriteResult result = WritePrivateProfileString(section, key, value, file);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(result.reason, "");
  }

  QTemporaryDir dir_;
};

const char kSample[] =
    "; kept as it stands\r\n"
    "orphan=before any section\r\n"
    "[Options]\r\n"
    "Organizer File Path = /data/ADDRESS.OR2  \r\n"
    "skip blank fields=1\r\n"
    "Empty=\r\n"
    "Blank =   \t\r\n"
    "Quoted=\"  padded  \"\r\n"
    "Single='x'\r\n"
    "Lone=\"\r\n"
    "NoEquals\r\n"
    "; hidden=comment\r\n"
    "\r\n"
    "[  Spaced Section  ] trailing\r\n"
    "Key=spaced\r\n"
    "[options]\r\n"
    "Second=duplicate section\r\n"
    "[Other]\r\n"
    "Skip Blank Fields=9";

TEST_F(ProfileFileTest, ReadsAsWindowsDoes) {
  Put(Path(), kSample);
  struct Row {
    const char* section;
    const char* key;
    const char* def;
    const char* expected;
  } rows[] = {
      {"Options", "Organizer File Path", "", "/data/ADDRESS.OR2"},
      {"OPTIONS", "SKIP BLANK FIELDS", "", "1"},
      {" Options ", "\tSkip Blank Fields ", "", "1"},
      {"Options", "Empty", "dflt", ""},
      {"Options", "Blank", "dflt", ""},
      {"Options", "Quoted", "", "  padded  "},
      {"Options", "Single", "", "x"},
      {"Options", "Lone", "", "\""},
      {"Options", "NoEquals", "dflt", "dflt"},
      {"Options", "; hidden", "dflt", "dflt"},
      {"Options", "Missing", "dflt", "dflt"},
      {"Options", "Missing", "English  ", "English"},
      {"Missing", "Key", "dflt", "dflt"},
      {"spaced section", "KEY", "", "spaced"},
      {"Options", "Second", "dflt", "dflt"},
      {"Other", "skip blank fields", "", "9"},
      {"Options", "Key", "dflt", "dflt"},
      {"", "orphan", "dflt", "dflt"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.section) + " / " + row.key);
    EXPECT_EQ(GetPrivateProfileString(row.section, row.key, row.def, Path()), row.expected);
  }
}

TEST_F(ProfileFileTest, MissingFileOrFolderGivesDefaults) {
  for (const std::string& file : {Path("none.ini"), Path("no/such/folder.ini"), std::string()}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(GetPrivateProfileString("Language Settings", "Language", "English", file), "English");
    EXPECT_EQ(GetPrivateProfileInt("Address Profiles", "0", 99, file), 99);
  }
}

TEST_F(ProfileFileTest, AFolderReadsAsMissing) {
  EXPECT_EQ(GetPrivateProfileString("Options", "Key", "dflt", dir_.path().toStdString()), "dflt");
}

TEST_F(ProfileFileTest, IntTakesTheLeadingNumber) {
  struct Row {
    std::optional<std::string> line;  // nothing: no key at all
    int def;
    int expected;
  } rows[] = {
      {"K=12abc", 5, 12},   {"K=abc", 5, 0},     {"K=", 5, 5},
      {std::nullopt, 5, 5}, {"K=-5", 5, -5},     {"K= 7 ", 5, 7},
      {"K=+1", 5, 1},       {"K=0", 5, 0},       {"K=99", 0, 99},
      {"K=1", 99, 1},       {"K=\"42\"", 0, 42}, {"K=0x1A", 0, 26},
      {"K=0o17", 0, 15},    {"K=0b101", 0, 5},   {"K=42A94967297", 0, 42},
      {"K=4294967297", 0, 1}, {"K=-4294967297", 0, -1}, {"K=B12", 7, 0},
      {"K=   ", 3, 3},      {"K=1.9", 0, 1},     {"K=- 3", 4, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line.value_or("(no key)"));
    Put(Path(), "[Options]\n" + row.line.value_or("Other=1") + "\n");
    EXPECT_EQ(GetPrivateProfileInt("Options", "K", row.def, Path()), row.expected);
  }
}

TEST_F(ProfileFileTest, FirstWriteCreatesTheFileWithLf) {
  Write("Options", "Skip Blank Fields", "1", Path());
  EXPECT_EQ(Bytes(Path()), "[Options]\nSkip Blank Fields=1\n");
}

TEST_F(ProfileFileTest, WriteReplacesTheWholeValueAndKeepsTheRest) {
  Put(Path(), kSample);
  Write("OPTIONS", " Organizer File Path ", "/home/ann/NEW.OR3", Path());
  Write("options", "Empty", "now set", Path());
  std::string expected = kSample;
  expected.replace(expected.find("/data/ADDRESS.OR2  "), 19, "/home/ann/NEW.OR3");
  expected.replace(expected.find("Empty="), 6, "Empty=now set");
  EXPECT_EQ(Bytes(Path()), expected);
}

TEST_F(ProfileFileTest, NewKeyGoesToTheEndOfItsOwnSection) {
  Put(Path(),
      "[Address Profiles]\n0=Letters\n; note\n\n\n[Profile 0]\nField 0=Business/Company\n\n");
  Write("address profiles", "1", "Invoices", Path());
  Write("Profile 0", "Field 1", "(-None-)", Path());
  EXPECT_EQ(Bytes(Path()),
            "[Address Profiles]\n0=Letters\n; note\n1=Invoices\n\n\n"
            "[Profile 0]\nField 0=Business/Company\nField 1=(-None-)\n\n");
}

TEST_F(ProfileFileTest, NewSectionGoesToTheEndInTheFilesLineEnding) {
  Put(Path(), "; top\r\n[Options]\r\nA=1");
  Write("Recent Settings", "Search By", "True", Path());
  EXPECT_EQ(Bytes(Path()), "; top\r\n[Options]\r\nA=1\r\n[Recent Settings]\r\nSearch By=True\r\n");
  Write("Options", "B", "2", Path());
  EXPECT_EQ(Bytes(Path()),
            "; top\r\n[Options]\r\nA=1\r\nB=2\r\n[Recent Settings]\r\nSearch By=True\r\n");
}

TEST_F(ProfileFileTest, WholeValuesComeBack) {
  const std::string name(32, 'N');
  std::string path = "/home/ann";
  while (path.size() < 300) path += "/folder";
  path.resize(300);
  Write("Address Profiles", "0", name, Path());
  Write("Options", "Organizer File Path", path, Path());
  EXPECT_EQ(GetPrivateProfileString("Address Profiles", "0", "", Path()), name);
  EXPECT_EQ(GetPrivateProfileString("Options", "Organizer File Path", "", Path()), path);
}

TEST_F(ProfileFileTest, LineBreaksAndStructureCharactersAreRefused) {
  const std::string before = "[Options]\nA=1\n";
  struct Row {
    const char* section;
    const char* key;
    const char* value;
  } rows[] = {
      {"Options", "A", "two\nlines"}, {"Options", "A", "two\rlines"},
      {"Options", "A", "x\r\n[Evil]"}, {"Options", "New\nKey", "1"},
      {"Opt\r\nions", "A", "1"},       {"Opt]ions", "A", "1"},
      {"Options", "A=B", "1"},         {"Options", "[A", "1"},
      {"Options", ";A", "1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.section) + " / " + row.key + " / " + row.value);
    Put(Path(), before);
    const ProfileWriteResult result = WritePrivateProfileString(row.section, row.key, row.value, Path());
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason, "");
    EXPECT_EQ(Bytes(Path()), before);
  }
}

TEST_F(ProfileFileTest, FailedWritesReportWhyAndLeaveTheFile) {
  const std::string before = "[Options]\nA=1\n";
  Put(Path(), before);
  ASSERT_EQ(::mkdir((Path() + ".tmp").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(Path("folder.ini").c_str(), 0755), 0);
  struct Row {
    std::string file;
    const char* reason;
  } rows[] = {
      {Path(), "Is a directory"},  // the temporary file cannot be made
      {Path("folder.ini"), "Is a directory"},
      {Path("missing/PENLARK.INI"), "No such file or directory"},
      {"", "No such file or directory"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    const ProfileWriteResult result = WritePrivateProfileString("Options", "A", "2", row.file);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, row.reason);
  }
  EXPECT_EQ(Bytes(Path()), before);
  EXPECT_EQ(GetPrivateProfileString("Options", "A", "", Path()), "1");
}

TEST_F(ProfileFileTest, ReplacementIsANewFileWithTheOldMode) {
  Put(Path(), "[Options]\nA=1\n");
  ASSERT_EQ(::chmod(Path().c_str(), 0640), 0);
  ASSERT_EQ(::link(Path().c_str(), Path("old.ini").c_str()), 0);
  Write("Options", "A", "2", Path());
  struct stat st {};
  ASSERT_EQ(::stat(Path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_nlink, 1u);  // renamed over, not written into
  EXPECT_EQ(Bytes(Path("old.ini")), "[Options]\nA=1\n");
  EXPECT_EQ(Bytes(Path()), "[Options]\nA=2\n");
  EXPECT_NE(::access((Path() + ".tmp").c_str(), F_OK), 0);
}

TEST_F(ProfileFileTest, ALinkedFileIsReplacedWhereTheLinkPoints) {
  Put(Path("real.ini"), "[Options]\nA=1\n");
  ASSERT_EQ(::symlink(Path("real.ini").c_str(), Path().c_str()), 0);
  Write("Options", "A", "2", Path());
  struct stat st {};
  ASSERT_EQ(::lstat(Path().c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(Bytes(Path("real.ini")), "[Options]\nA=2\n");
}

TEST_F(ProfileFileTest, Windows1252FileKeepsItsSeparators) {
  Put(Path(), "[Profile 0]\r\nSeparator 0=,\xB6\r\nSeparator 1=\xBB_\x80\r\n");
  EXPECT_EQ(GetPrivateProfileString("Profile 0", "Separator 0", "", Path()), ",\xC2\xB6");
  EXPECT_EQ(GetPrivateProfileString("Profile 0", "Separator 1", "", Path()),
            "\xC2\xBB_\xE2\x82\xAC");
  Write("Profile 0", "Separator 2", "\xC2\xB6\xC2\xBB", Path());
  EXPECT_EQ(Bytes(Path()),
            "[Profile 0]\r\nSeparator 0=,\xC2\xB6\r\nSeparator 1=\xC2\xBB_\xE2\x82\xAC\r\n"
            "Separator 2=\xC2\xB6\xC2\xBB\r\n");
}

TEST_F(ProfileFileTest, Utf8ByteOrderMarkIsSkippedAndKept) {
  Put(Path(), "\xEF\xBB\xBF[Options]\nA=\xC2\xB6\n");
  EXPECT_EQ(GetPrivateProfileString("Options", "A", "", Path()), "\xC2\xB6");
  Write("Options", "B", "2", Path());
  EXPECT_EQ(Bytes(Path()), "\xEF\xBB\xBF[Options]\nA=\xC2\xB6\nB=2\n");
}

TEST_F(ProfileFileTest, BlanksAroundAWrittenValueAreDropped) {
  Write(" Options ", " A ", "  spaced value  ", Path());
  EXPECT_EQ(Bytes(Path()), "[Options]\nA=spaced value\n");
}

}  // namespace
