#include "ConfigFixture.h"

#include "config/ConfigChecks.h"

#include <stdexcept>

namespace {

const QString kRequired = QStringLiteral("Configuration Information Required");
const QString kAskFile = QStringLiteral(
    "No Organizer data file has been entered for Penlark to access.\n\r\n\r"
    "Do you want to enter details of your Organizer data file now?");
const QString kAskSection = QStringLiteral(
    "No Organizer Address section name has been entered for Penlark to access.\n\r\n\r"
    "Do you want to enter details of your Organizer Address section now?");
const QString kInaccessible = QStringLiteral("Organizer Data File Inaccessible");
const QString kAskOtherFile = QStringLiteral(
    "The Organizer data file referred to in the Organizer File Path cannot be accessed.\n\r\n\r"
    "Do you want to specify another Organizer data file for Penlark to use?");

using ConfigChecksTest = ConfigFixture;

TEST_F(ConfigChecksTest, BothMissingAsksAboutTheFileFirstAndFindsASectionEnteredThen) {
  const QString book = MakeFile(QStringLiteral("book.or3"));
  desktop.SetMousePointer(Pointer::Hourglass);
  desktop.Answer(MsgAnswer::Yes);
  OptionsSaves(book, QStringLiteral("Address"));

  EXPECT_EQ(CheckOrganizerFile(pv), book);
  EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
  EXPECT_EQ(CheckAddressSection(pv), QStringLiteral("Address"));  // asks nothing

  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, kRequired);
  EXPECT_EQ(desktop.boxes[0].text, kAskFile);
  EXPECT_EQ(desktop.boxes[0].style, 52);
  EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Default);
  EXPECT_EQ(desktop.formsShown, std::vector<QString>{QStringLiteral("frmOptions")});
}

// The file is asked about first, the section second.
TEST_F(ConfigChecksTest, AnswersNoGiveEmptyValues) {
  desktop.Answer(MsgAnswer::No);
  desktop.Answer(MsgAnswer::No);
  EXPECT_EQ(CheckOrganizerFile(pv), QString());
  EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
  EXPECT_EQ(CheckAddressSection(pv), QString());
  ASSERT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(desktop.boxes[1].title, kRequired);
  EXPECT_EQ(desktop.boxes[1].text, kAskSection);
  EXPECT_EQ(desktop.boxes[1].style, 52);
  EXPECT_EQ(desktop.boxes[1].pointer, Pointer::Default);
  EXPECT_TRUE(desktop.formsShown.empty());
}

TEST_F(ConfigChecksTest, PathAcceptedInOptionsIsNotProbed) {
  const QString gone = dir.filePath(QStringLiteral("gone.or3"));
  desktop.Answer(MsgAnswer::Yes);
  OptionsSaves(gone, QStringLiteral("Address"));
  EXPECT_EQ(CheckOrganizerFile(pv), gone);
  EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(ConfigChecksTest, StoredPathsAreProbedAndReturnedWhole) {
  // Long enough to have been cut by a 64-character buffer.
  const int pad = std::max(70 - int(dir.path().size()) - 5, 10);
  struct Row {
    QString name;
    bool shortForm;
  };
  const Row rows[] = {
      {QStringLiteral("book.or3"), false},
      {QStringLiteral("Book.oR2"), true},
      {QStringLiteral("notes"), false},
      {QString(pad, QLatin1Char('n')) + QStringLiteral(".or2"), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name.toStdString());
    const QString path = MakeFile(row.name);
    Set("Organizer File Path", path);
    EXPECT_EQ(CheckOrganizerFile(pv), row.shortForm ? ShortPathName(path) : path);
  }
  EXPECT_GE(dir.filePath(rows[3].name).size(), 70);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
}

TEST_F(ConfigChecksTest, UnreachableFileAsksAgainUntilReachable) {
  const QString book = MakeFile(QStringLiteral("book.or3"));
  for (const QString& unreachable : {dir.filePath(QStringLiteral("gone.or3")),
                                     dir.filePath(QStringLiteral("no-folder/book.or3"))}) {
    SCOPED_TRACE(unreachable.toStdString());
    desktop.boxes.clear();
    Set("Organizer File Path", unreachable);
    desktop.SetMousePointer(Pointer::Hourglass);
    // First Yes: Options cancelled, the same file is probed again; second Yes: a file
    // that is there.
    desktop.Answer(MsgAnswer::Yes);
    desktop.OnForm(QStringLiteral("frmOptions"), [](QDialog& form) { Press(form, "cmdCancel"); });
    desktop.Answer(MsgAnswer::Yes);
    OptionsSaves(book, QStringLiteral("Address"));
    EXPECT_EQ(CheckOrganizerFile(pv), book);
    ASSERT_EQ(desktop.boxes.size(), 2u);
    for (const auto& box : desktop.boxes) {
      EXPECT_EQ(box.title, kInaccessible);
      EXPECT_EQ(box.text, kAskOtherFile);
      EXPECT_EQ(box.style, 52);
      EXPECT_EQ(box.pointer, Pointer::Default);
    }
    EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
  }
}

TEST_F(ConfigChecksTest, NoToAnUnreachableFileEndsTheProgram) {
  Set("Organizer File Path", dir.filePath(QStringLiteral("gone.or2")));
  desktop.Answer(MsgAnswer::No);
  EXPECT_THROW(CheckOrganizerFile(pv), ProgramEnded);
  EXPECT_TRUE(desktop.ended);
  EXPECT_EQ(desktop.boxes.size(), 1u);
  EXPECT_TRUE(desktop.formsShown.empty());
}

TEST_F(ConfigChecksTest, OtherErrorsAreFatal) {
  Set("Organizer File Path", dir.path());  // a folder, not a file
  desktop.SetMousePointer(Pointer::Hourglass);
  EXPECT_THROW(CheckOrganizerFile(pv), ProgramEnded);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Fatal Error"));
  EXPECT_EQ(desktop.boxes[0].text.toStdString(),
            "Error 75, Path/File access error has occured.\n\r\n\rPenlark will be closed.");
  EXPECT_EQ(desktop.boxes[0].style, 16);
  EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Default);
  EXPECT_TRUE(desktop.ended);
}

}  // namespace
