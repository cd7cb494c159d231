#include "ConfigFixture.h"

#include "config/ConfigChecks.h"

namespace {

const QString kRequired = QStringLiteral("Configuration Information Required");
const QString kAskFile = QStringLiteral(
    "No Organizer data file has been entered for Penlark to access.\n\r\n\r"
    "Do you want to enter details of your Organizer data file now?");
const QString kAskSection = QStringLiteral(
    "No Organizer Address section name has been entered for Penlark to access.\n\r\n\r"
    "Do you want to enter details of your Organizer Address section now?");
const Shown kAskOther{
    QStringLiteral("Organizer Data File Inaccessible"),
    QStringLiteral("The Organizer data file referred to in the Organizer File Path cannot be "
                   "accessed.\n\r\n\rDo you want to specify another Organizer data file for "
                   "Penlark to use?"),
    52};

using ConfigChecksTest = ConfigFixture;

TEST_F(ConfigChecksTest, YesOpensOptionsWhosePathIsTakenUnprobedAndTheSectionWithIt) {
  const QString gone = dir.filePath(QStringLiteral("gone.or3"));
  desktop.SetMousePointer(Pointer::Hourglass);
  desktop.Answer(MsgAnswer::Yes);
  OnOptions(OptionsSaves(gone, QStringLiteral("Address")));
  EXPECT_EQ(CheckOrganizerFile(pv), gone);
  EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
  EXPECT_EQ(CheckAddressSection(pv), QStringLiteral("Address"));
  ExpectBoxes({{kRequired, kAskFile, 52}});
  EXPECT_EQ(desktop.formsShown, std::vector<QString>{QStringLiteral("frmOptions")});
}

TEST_F(ConfigChecksTest, NoAsksForTheFileThenTheSectionAndGivesEmptyValues) {
  desktop.Answer(MsgAnswer::No);
  desktop.Answer(MsgAnswer::No);
  EXPECT_EQ(CheckOrganizerFile(pv), QString());
  EXPECT_EQ(CheckAddressSection(pv), QString());
  ExpectBoxes({{kRequired, kAskFile, 52}, {kRequired, kAskSection, 52}});
  EXPECT_TRUE(desktop.formsShown.empty());
}

TEST_F(ConfigChecksTest, StoredPathsAreProbedAndReturnedWhole) {
  const QString longName = QString(std::max(70 - int(dir.path().size()), 10), QLatin1Char('n'));
  struct Row {
    QString name;
    bool shortForm;
  } rows[] = {{QStringLiteral("book.or3"), false}, {QStringLiteral("Book.oR2"), true},
              {longName + QStringLiteral(".or3"), false}, {longName + QStringLiteral(".or2"), true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name.toStdString());
    const QString path = MakeFile(row.name);
    Set("Organizer File Path", path);
    EXPECT_EQ(CheckOrganizerFile(pv), row.shortForm ? ShortPathName(path) : path);
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ConfigChecksTest, UnreachableFileAsksAgainWhileYesAndNoEndsTheProgram) {
  const QString book = MakeFile(QStringLiteral("book.or3"));
  for (const char* unreachable : {"gone.or3", "no-folder/book.or3"}) {
    SCOPED_TRACE(unreachable);
    desktop.boxes.clear();
    Set("Organizer File Path", dir.filePath(QString::fromLatin1(unreachable)));
    desktop.SetMousePointer(Pointer::Hourglass);
    desktop.Answer(MsgAnswer::Yes);  // Options cancelled: the same file again
    OnOptions([](frmOptions& form) { form.cmdCancel->click(); });
    desktop.Answer(MsgAnswer::Yes);
    OnOptions(OptionsSaves(book, QStringLiteral("Address")));
    EXPECT_EQ(CheckOrganizerFile(pv), book);
    ExpectBoxes({kAskOther, kAskOther});
    EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
  }
  desktop.boxes.clear();
  Set("Organizer File Path", dir.filePath(QStringLiteral("gone.or2")));
  desktop.Answer(MsgAnswer::No);
  EXPECT_THROW(CheckOrganizerFile(pv), ProgramEnded);
  ExpectBoxes({kAskOther});
  EXPECT_EQ(desktop.formsShown.size(), 4u);
}

TEST_F(ConfigChecksTest, OtherErrorsAreFatal) {
  Set("Organizer File Path", dir.path());  // a folder, not a file
  desktop.SetMousePointer(Pointer::Hourglass);
  EXPECT_THROW(CheckOrganizerFile(pv), ProgramEnded);
  ExpectBoxes({{QStringLiteral("Fatal Error"),
                QStringLiteral("Error 75, Path/File access error has occured.\n\r\n\r"
                               "Penlark will be closed."),
                16}});
}

}  // namespace
