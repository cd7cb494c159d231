#include "AppFixture.h"

#include "platform/RuntimeError.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kQuestionTitle = QStringLiteral("Configuration Information Required");

class StartupTest : public AppFixture {
 protected:
  // Start-up with a word processor holding a letter, as a person starts Penlark.
  void Load() {
    ASSERT_TRUE(StartWord97(WriteLetter(QStringLiteral("Dear [[Name]]"))))
        << bus.lastError().toStdString();
    form->Form_Load(dir.path());
  }
  void Configure() {
    WriteConfiguration(WriteAddressBook());
    Set("Address Profiles", "1", QStringLiteral("Labels"));
  }
};

TEST_F(StartupTest, NoConfigurationFileAsksTwiceThenForAProfile) {
  desktop.Answer(MsgAnswer::No);
  desktop.Answer(MsgAnswer::No);
  desktop.Answer(MsgAnswer::No);
  Load();

  ASSERT_EQ(desktop.boxes.size(), 3u);
  EXPECT_EQ(desktop.boxes[0].title, kQuestionTitle);
  EXPECT_TRUE(desktop.boxes[0].text.startsWith(QStringLiteral("No Organizer data file")));
  EXPECT_EQ(desktop.boxes[1].title, kQuestionTitle);
  EXPECT_TRUE(desktop.boxes[1].text.startsWith(QStringLiteral("No Organizer Address section")));
  EXPECT_EQ(desktop.boxes[2].title, QStringLiteral("No Address Profiles"));
  EXPECT_EQ(desktop.boxes[2].text,
            QStringLiteral("No Address Profiles have been setup.  Do you want to create a Address "
                           "Profile now?"));
  EXPECT_EQ(desktop.boxes[2].style, 36);
  EXPECT_EQ(desktop.boxes[2].pointer, Pointer::Default);

  EXPECT_EQ(pv.ConfigFilePath, dir.path() + QStringLiteral("/PENLARK.INI"));
  EXPECT_EQ(form->cboAddressProfile->count(), 0);
  EXPECT_TRUE(form->optCompany->isChecked());
  EXPECT_FALSE(form->optSurname->isChecked());
  EXPECT_FALSE(form->cmdSearch->isEnabled());
  EXPECT_FALSE(pv.OrganizerLinkOpen);
  EXPECT_EQ(pv.WordVersion, QStringLiteral("8.0"));
  EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
  EXPECT_FALSE(QFile::exists(Ini())) << "start-up itself writes nothing";
}

TEST_F(StartupTest, YesToTheProfileQuestionOpensTheEditorAndRefillsTheBox) {
  Set("Options", "Organizer File Path", WriteAddressBook());
  Set("Options", "Organizer Address Section", QStringLiteral("Address"));
  desktop.Answer(MsgAnswer::Yes);
  // The person creates a profile in the editor; the box is refilled afterwards, empty.
  desktop.OnForm(QStringLiteral("frmProfiles"), [this](QDialog&) {
    Set("Address Profiles", "0", QStringLiteral("Letters"));
  });
  Load();

  EXPECT_NE(std::find(desktop.formsShown.begin(), desktop.formsShown.end(),
                      QStringLiteral("frmProfiles")),
            desktop.formsShown.end());
  EXPECT_EQ(form->cboAddressProfile->count(), 1);
  EXPECT_EQ(form->cboAddressProfile->currentText(), QString());
  EXPECT_TRUE(form->cmdSearch->isEnabled());
}

TEST_F(StartupTest, ProfilesWithoutRecentSettingsShowTheFirstAndSearchByCompany) {
  Configure();
  Load();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(form->cboAddressProfile->count(), 2);
  EXPECT_EQ(form->cboAddressProfile->currentText(), QStringLiteral("Letters"));
  EXPECT_TRUE(form->optCompany->isChecked());
  EXPECT_TRUE(form->cmdSearch->isEnabled());
  EXPECT_EQ(pv.AddressSectionName, QStringLiteral("Address"));
}

TEST_F(StartupTest, SearchByNeedsExactlyTruAtTheStart) {
  struct Row {
    const char* stored;  // nullptr: no key
    bool surname;
  };
  const Row rows[] = {{"True", true}, {"Tru", true}, {"Truly", true}, {"true", false},
                      {"False", false}, {" Tr", false}, {nullptr, false}};
  ASSERT_TRUE(StartWord97(WriteLetter(QStringLiteral("[[Name]]"))));
  const QString dataFile = WriteAddressBook();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.stored ? row.stored : "(missing)");
    QTemporaryDir programDir;
    const std::string ini = (programDir.path() + QStringLiteral("/PENLARK.INI")).toStdString();
    WritePrivateProfileString("Options", "Organizer File Path", dataFile.toStdString(), ini);
    WritePrivateProfileString("Options", "Organizer Address Section", "Address", ini);
    WritePrivateProfileString("Address Profiles", "0", "Letters", ini);
    if (row.stored) WritePrivateProfileString("Recent Settings", "Search By", row.stored, ini);

    ScriptedDesktopServices rowDesktop;
    ProgramValues rowPv(rowDesktop, bus.connection());
    frmPenlark rowForm(rowPv);
    rowForm.Form_Load(programDir.path());
    EXPECT_EQ(rowForm.optSurname->isChecked(), row.surname);
    EXPECT_EQ(rowForm.optCompany->isChecked(), !row.surname);
  }
}

TEST_F(StartupTest, ARecentProfileIsShownWholeEvenWhenItNoLongerExists) {
  Configure();
  const QString longName = QStringLiteral("Letters To Customers Abroad Often");  // 33 characters
  Set("Recent Settings", "Address Profile", longName);
  Load();
  EXPECT_EQ(form->cboAddressProfile->currentText(), longName);
}

TEST_F(StartupTest, UnreachableDataFileAsksAgainOnYesAndEndsOnNo) {
  Configure();
  Set("Options", "Organizer File Path", dir.path() + QStringLiteral("/gone.or3"));
  desktop.Answer(MsgAnswer::Yes);  // the Options window opens and is closed unchanged
  desktop.Answer(MsgAnswer::No);
  EXPECT_THROW(form->Form_Load(dir.path()), ProgramEnded);
  ASSERT_EQ(desktop.boxes.size(), 2u);
  for (const auto& box : desktop.boxes) {
    EXPECT_EQ(box.title, QStringLiteral("Organizer Data File Inaccessible"));
    EXPECT_EQ(box.style, 52);
  }
  ASSERT_EQ(desktop.formsShown.size(), 1u);
  EXPECT_EQ(desktop.formsShown[0], QStringLiteral("frmOptions"));
}

TEST_F(StartupTest, AnErrorInThePhaseOfTheChecksIsFatal) {
  Set("Options", "Organizer File Path", WriteAddressBook());
  Set("Options", "Organizer Address Section", QStringLiteral("Address"));
  desktop.Answer(MsgAnswer::Yes);
  desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog&) { throw RuntimeError(7); });
  EXPECT_THROW(form->Form_Load(dir.path()), ProgramEnded);
  ASSERT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(desktop.boxes[1].title, QStringLiteral("Fatal Error"));
  EXPECT_EQ(desktop.boxes[1].text,
            QStringLiteral("Error 7, Out of memory has occured.\n\r\n\rPenlark will be closed."));
  EXPECT_EQ(desktop.boxes[1].style, 16);
  EXPECT_EQ(desktop.boxes[1].pointer, Pointer::Default);
}

TEST_F(StartupTest, NoWordProcessorEndsTheProgram) {
  Configure();
  EXPECT_THROW(form->Form_Load(dir.path()), ProgramEnded);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Microsoft Word Not Running"));
}

}  // namespace
