// The real program with real windows on a display of its own, the real stand-ins on a
// private bus, the sample address book, letter and PENLARK.INI, and a person at the
// keyboard. What counts is what a person would check: the letter and PENLARK.INI.

#include "Desktop.h"

#include "ChildProcesses.h"
#include "PrivateBus.h"
#include "support/Shown.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString kMainWindow = QStringLiteral("Penlark");
const QString kOrganizerName = QStringLiteral("org.penlark.dde.Organize200");
const QString kWordName = QStringLiteral("org.penlark.window.OpusApp");

QString Sample(const char* name) { return QStringLiteral(PENLARK_SAMPLES "/") + QLatin1String(name); }

// The sample letter as the given fills leave it: each bookmark's text goes where the
// bookmark stands, and a bookmark without a fill vanishes from the printed text.
QString Filled(const QString& letter, const QString& address, const QString& reference,
               const QString& salutation) {
  QString text = letter;
  text.replace(QStringLiteral("[[Address]]"), address);
  text.replace(QStringLiteral("[[Reference]]"), reference);
  text.replace(QStringLiteral("[[Salutation]]"), salutation);
  return text;
}

const QString kCharlotte = QStringLiteral(
    "Dr Charlotte Hartley\nHead of Research\nPennine Biotech\nScience Park\nBradford\nBD7 1DP\nEngland");
const QString kSamuel = QStringLiteral(
    "Mr Samuel Okafor\nProject Engineer\nTyne Offshore\nQuayside House\nNewcastle upon Tyne\nNE1 3DX\nEngland");

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
    ASSERT_TRUE(desktop.ok()) << desktop.error().toStdString();
    ASSERT_TRUE(QFile::copy(QStringLiteral(PENLARK_BIN), Path("penlark")));
    ASSERT_TRUE(QFile::copy(Sample("addresses.json"), Path("addresses.json")));
  }
  void TearDown() override {
    if (penlark.state() != QProcess::NotRunning) {
      penlark.kill();
      penlark.waitForFinished(5000);
    }
  }

  QString Path(const char* name) const { return folder.filePath(QLatin1String(name)); }

  // The sample PENLARK.INI, pointed at the address book in the program's folder.
  void WriteSampleConfiguration() {
    QByteArray ini = ReadBytes(Sample("PENLARK.INI"));
    ini.replace("Organizer File Path=addresses.json", "Organizer File Path=" + Path("addresses.json").toUtf8());
    ASSERT_TRUE(PutBytes(Path("PENLARK.INI"), ini));
  }

  void StartOrganizer(QStringList options = {}) {
    organizer = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), options << Path("addresses.json"), kOrganizerName);
    ASSERT_NE(organizer, nullptr) << bus.lastError().toStdString();
  }
  void StartWord(const QString& letter) {
    ASSERT_TRUE(PutBytes(Path("letter.txt"), letter.toUtf8()));
    const QProcessEnvironment shown = desktop.On(bus.Environment());
    ASSERT_NE(bus.Start(QStringLiteral(PENLARK_WORD_BIN), {Path("letter.txt")}, kWordName, &shown), nullptr)
        << bus.lastError().toStdString();
  }
  // The sample letter as printed before any transfer: the bookmarks hold nothing.
  QString Unfilled() const { return Filled(sampleLetter, {}, {}, {}); }
  QString Letter() {
    QString text;
    EXPECT_EQ(bus.Run(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--print-text")}, &text), 0);
    return text;
  }

  // Starts Penlark as a person does and puts the keyboard on the first window it shows.
  void StartPenlark(const QString& firstWindow = kMainWindow) {
    penlark.setProcessEnvironment(desktop.On(bus.Environment()));
    penlark.setWorkingDirectory(folder.path());
    EndWithTest(penlark);
    penlark.start(Path("penlark"), {});
    ASSERT_TRUE(penlark.waitForStarted(5000));
    const QString window = desktop.WaitForWindow(firstWindow);
    ASSERT_FALSE(window.isEmpty()) << "shown: " << desktop.Titles().join(u',').toStdString();
    if (firstWindow == kMainWindow) {
      ASSERT_TRUE(desktop.Focus(window));
    }
  }
  // The keyboard on the main window again, as a person clicks it after a box.
  void BackToMainWindow() {
    const QString window = desktop.WaitForWindow(kMainWindow);
    ASSERT_FALSE(window.isEmpty());
    ASSERT_TRUE(desktop.Focus(window));
  }
  void Type(const QString& text) { ASSERT_TRUE(desktop.Type(text)); }
  void Keys(const QStringList& keys) { ASSERT_TRUE(desktop.Keys(keys)); }
  // Waits for a message box of that title and answers it with Enter.
  void AnswerBox(const QString& title) {
    ASSERT_FALSE(desktop.WaitForWindow(title).isEmpty())
        << "no box \"" << title.toStdString() << "\"; shown: " << desktop.Titles().join(u',').toStdString();
    ASSERT_EQ(desktop.FocusedTitle(), title);
    Keys({QStringLiteral("Return")});
    ASSERT_TRUE(desktop.WaitWindowGone(title));
  }
  void ExpectEndedCleanly() {
    ASSERT_TRUE(penlark.waitForFinished(10000)) << "shown: " << desktop.Titles().join(u',').toStdString();
    EXPECT_EQ(penlark.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(penlark.exitCode(), 0) << penlark.readAllStandardError().toStdString();
  }
  void ExpectStillRunning() {
    EXPECT_FALSE(penlark.waitForFinished(300));
    EXPECT_EQ(penlark.state(), QProcess::Running);
  }

  QTemporaryDir folder;  // the program's folder: penlark, PENLARK.INI, the address book
  PrivateBus bus;
  Desktop desktop;
  QProcess penlark;
  QProcess* organizer = nullptr;
  const QString sampleLetter = QString::fromUtf8(ReadBytes(Sample("letter.txt")));
};

TEST_F(EndToEnd, FinishedFillsTheLetterAndEndsTheProgram) {
  WriteSampleConfiguration();
  const QByteArray before = ReadBytes(Path("PENLARK.INI"));
  StartOrganizer();
  StartWord(sampleLetter);
  StartPenlark();

  Type(QStringLiteral("Hartley"));
  Keys({QStringLiteral("Return"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
  ExpectEndedCleanly();

  EXPECT_EQ(Letter().toStdString(),
            Filled(sampleLetter, kCharlotte, QStringLiteral("0113 496 0114"), QStringLiteral("Dr Hartley"))
                .toStdString());
  // The recent settings written are the ones the file held, so not a byte changes.
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), before);
}

TEST_F(EndToEnd, MoreStaysForASecondAddresseeFoundByCompany) {
  WriteSampleConfiguration();
  QByteArray expected = ReadBytes(Path("PENLARK.INI"));
  expected.replace("Search By=True", "Search By=False");
  StartOrganizer();
  StartWord(sampleLetter);
  StartPenlark();

  Type(QStringLiteral("Okafor"));
  Keys({QStringLiteral("Return"), QStringLiteral("alt+m")});
  ExpectStillRunning();
  // The search text is selected again; the company option, then back to the text.
  Keys({QStringLiteral("alt+o"), QStringLiteral("Tab")});
  Type(QStringLiteral("Pennine"));
  Keys({QStringLiteral("Return"), QStringLiteral("Return")});
  ExpectEndedCleanly();

  // The second addressee's rows follow the first's at each bookmark.
  EXPECT_EQ(Letter().toStdString(),
            Filled(sampleLetter, kSamuel + kCharlotte, QStringLiteral("+44 1632 9605460113 496 0114"),
                   QStringLiteral("Mr OkaforDr Hartley"))
                .toStdString());
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), expected);
}

TEST_F(EndToEnd, AMissingBookmarkIsReportedAndTheRowsBeforeItStay) {
  WriteSampleConfiguration();
  const QByteArray before = ReadBytes(Path("PENLARK.INI"));
  QString letter = sampleLetter;
  letter.replace(QStringLiteral("[[Reference]]"), QString());
  StartOrganizer();
  StartWord(letter);
  StartPenlark();

  Type(QStringLiteral("Hartley"));
  Keys({QStringLiteral("Return"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
  AnswerBox(QStringLiteral("Transfer Error"));
  ExpectStillRunning();
  // The reference is the profile's last row, so everything before it was written.
  EXPECT_EQ(Letter().toStdString(), Filled(letter, kCharlotte, {}, QStringLiteral("Dr Hartley")).toStdString());

  BackToMainWindow();
  Keys({QStringLiteral("alt+e")});
  ExpectEndedCleanly();
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), before);
}

// No PENLARK.INI: the program asks for the address book, then for a first profile, and
// with those the person fills the letter.
TEST_F(EndToEnd, AFirstStartWithoutConfigurationSetsUpAndTransfers) {
  ASSERT_FALSE(QFile::exists(Path("PENLARK.INI")));
  StartOrganizer();
  StartWord(sampleLetter);
  StartPenlark(QStringLiteral("Configuration Information Required"));

  AnswerBox(QStringLiteral("Configuration Information Required"));  // Yes
  ASSERT_FALSE(desktop.WaitForWindow(QStringLiteral("Options")).isEmpty());
  Type(Path("addresses.json"));
  Keys({QStringLiteral("Tab"), QStringLiteral("Tab")});
  Type(QStringLiteral("Address"));
  Keys({QStringLiteral("Tab"), QStringLiteral("space"), QStringLiteral("alt+o")});
  ASSERT_TRUE(desktop.WaitWindowGone(QStringLiteral("Options")));
  const QByteArray options = "[Options]\nOrganizer File Path=" + Path("addresses.json").toUtf8() +
                             "\nOrganizer Address Section=Address\nSkip Blank Fields=1\n";
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), options);

  AnswerBox(QStringLiteral("No Address Profiles"));
  ASSERT_FALSE(desktop.WaitForWindow(QStringLiteral("Address Profile Name")).isEmpty());
  Type(QStringLiteral("Surname only"));
  Keys({QStringLiteral("Return")});
  ASSERT_FALSE(desktop.WaitForWindow(QStringLiteral("Address Profile")).isEmpty());
  // Row 1: the salutation bookmark, and the field list's second entry after (-None-).
  Type(QStringLiteral("Salutation"));
  Keys({QStringLiteral("Tab"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("alt+o")});
  ASSERT_TRUE(desktop.WaitWindowGone(QStringLiteral("Address Profile")));
  QByteArray profile = options + "[Address Profiles]\n0=Surname only\n[Profile 0]\n";
  for (int row = 0; row < 12; ++row) {
    const QByteArray n = QByteArray::number(row);
    profile += "Bookmark " + n + "=" + (row == 0 ? "Salutation" : "") + "\nField " + n + "=" +
               (row == 0 ? "Last Name" : "(-None-)") + "\nSeparator " + n + "=\n";
  }
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), profile);

  // With no recent settings the profile box shows no name and the company option is on;
  // the person picks the new profile and the surname search.
  BackToMainWindow();
  Keys({QStringLiteral("alt+p"), QStringLiteral("Down"), QStringLiteral("alt+u"), QStringLiteral("Tab")});
  Type(QStringLiteral("Okafor"));
  Keys({QStringLiteral("Return"), QStringLiteral("Return")});
  ExpectEndedCleanly();
  EXPECT_EQ(Letter().toStdString(), Filled(sampleLetter, {}, {}, QStringLiteral("Okafor")).toStdString());
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")),
            profile + "[Recent Settings]\nSearch By=True\nAddress Profile=Surname only\n");
}

}  // namespace
