// The real program with real windows on a display of its own, the real stand-ins on a
// private bus, the sample address book, letter and PENLARK.INI, and a person at the
// keyboard. What counts is what a person would check: the letter and PENLARK.INI.

#include "EndToEnd.h"

namespace {

const QString kCharlotte = QStringLiteral(
    "Dr Charlotte Hartley\nHead of Research\nPennine Biotech\nScience Park\nBradford\nBD7 1DP\nEngland");
const QString kSamuel = QStringLiteral(
    "Mr Samuel Okafor\nProject Engineer\nTyne Offshore\nQuayside House\nNewcastle upon Tyne\nNE1 3DX\nEngland");

// More keeps the program for a second addressee; Finished then fills the letter, ends the
// program and writes back only the recent setting that changed.
TEST_F(EndToEnd, MoreStaysForASecondAddresseeFoundByCompany) {
  WriteSampleConfiguration();
  QByteArray expected = ReadBytes(Path("PENLARK.INI"));
  expected.replace("Search By=True", "Search By=False");
  StartOrganizer();
  StartWord(sampleLetter);
  StartPenlark();

  Press("type:Okafor Return alt+m");
  EXPECT_FALSE(penlark.waitForFinished(300));
  EXPECT_EQ(penlark.state(), QProcess::Running);
  // The search text is selected again; the company option, then back to the text.
  Press("alt+o Tab type:Pennine Return Return");
  ExpectEndedCleanly();

  // The second addressee's rows follow the first's at each bookmark.
  EXPECT_EQ(Letter().toStdString(),
            Filled(sampleLetter, kSamuel + kCharlotte, QStringLiteral("+44 1632 9605460113 496 0114"),
                   QStringLiteral("Mr OkaforDr Hartley"))
                .toStdString());
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), expected);
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
  Press("Tab Tab type:Address Tab space alt+o");
  ASSERT_TRUE(desktop.WaitWindowGone(QStringLiteral("Options")));
  const QByteArray options = "[Options]\nOrganizer File Path=" + Path("addresses.json").toUtf8() +
                             "\nOrganizer Address Section=Address\nSkip Blank Fields=1\n";
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), options);

  AnswerBox(QStringLiteral("No Address Profiles"));
  ASSERT_FALSE(desktop.WaitForWindow(QStringLiteral("Address Profile Name")).isEmpty());
  Type(QStringLiteral("Surname only"));
  Press("Return");
  ASSERT_FALSE(desktop.WaitForWindow(QStringLiteral("Address Profile")).isEmpty());
  // Row 1: the salutation bookmark, and the field list's second entry after (-None-).
  Press("type:Salutation Tab Down Down alt+o");
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
  Press("alt+p Down alt+u Tab type:Okafor Return Return");
  ExpectEndedCleanly();
  EXPECT_EQ(Letter().toStdString(), Filled(sampleLetter, {}, {}, QStringLiteral("Okafor")).toStdString());
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")),
            profile + "[Recent Settings]\nSearch By=True\nAddress Profile=Surname only\n");
}

}  // namespace
