#include "AppFixture.h"

#include "runtime/RuntimeError.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

namespace {

class StartupTest : public AppFixture {
 protected:
  void Load() {
    ASSERT_TRUE(StartWord({WriteLetter(QStringLiteral("Dear [[Name]]"))})) << bus.lastError().toStdString();
    form->Form_Load(dir.path());
  }
};

TEST_F(StartupTest, NoConfigurationFileAsksTwiceThenForAProfile) {
  for (int i = 0; i < 3; ++i) desktop.Answer(MsgAnswer::No);
  Load();
  // The two questions before it are the configuration checks' (tests/config).
  ASSERT_EQ(desktop.boxes.size(), 3u);
  EXPECT_EQ(Shown(desktop)[2], QStringLiteral("No Address Profiles|No Address Profiles have been setup.  Do you "
                                              "want to create a Address Profile now?|36"));
  EXPECT_EQ(desktop.boxes[2].pointer, Pointer::Default);
  EXPECT_EQ(pv.ConfigFilePath, dir.path() + QStringLiteral("/PENLARK.INI"));
  EXPECT_EQ(form->cboAddressProfile->count(), 0);
  EXPECT_TRUE(form->optCompany->isChecked());
  EXPECT_FALSE(form->optSurname->isChecked());
  EXPECT_FALSE(form->cmdSearch->isEnabled());
  EXPECT_EQ(pv.WordVersion, QStringLiteral("8.0"));
  EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
  EXPECT_FALSE(QFile::exists(Ini())) << "start-up itself writes nothing";
}

TEST_F(StartupTest, RecentSettingsAreRestored) {
  struct Row {
    const char* profile;   // nullptr: no key
    const char* searchBy;  // nullptr: no key
    QString shown;
    bool surname;
  };
  const Row rows[] = {
      {nullptr, nullptr, "Letters", false},
      {"Letters To Customers Abroad Often", "True", "Letters To Customers Abroad Often", true},
      {"Labels", "Truly", "Labels", true},
      {nullptr, "true", "Letters", false},
      {nullptr, " Tr", "Letters", false},
  };
  ASSERT_TRUE(StartWord({WriteLetter(QStringLiteral("[[Name]]"))}));
  const QString dataFile = WriteAddressBook();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shown.toStdString() + (row.searchBy ? row.searchBy : "(missing)"));
    QTemporaryDir programDir;
    const std::string ini = (programDir.path() + QStringLiteral("/PENLARK.INI")).toStdString();
    WritePrivateProfileString("Options", "Organizer File Path", dataFile.toStdString(), ini);
    WritePrivateProfileString("Options", "Organizer Address Section", "Address", ini);
    WritePrivateProfileString("Address Profiles", "0", "Letters", ini);
    WritePrivateProfileString("Address Profiles", "1", "Labels", ini);
    if (row.profile) WritePrivateProfileString("Recent Settings", "Address Profile", row.profile, ini);
    if (row.searchBy) WritePrivateProfileString("Recent Settings", "Search By", row.searchBy, ini);

    ScriptedDesktopServices rowDesktop;
    ProgramValues rowPv(rowDesktop, bus.connection());
    frmPenlark rowForm(rowPv);
    rowForm.Form_Load(programDir.path());
    EXPECT_TRUE(rowDesktop.boxes.empty());
    EXPECT_EQ(rowForm.cboAddressProfile->currentText(), row.shown);
    EXPECT_EQ(rowForm.optSurname->isChecked(), row.surname);
    EXPECT_EQ(rowForm.optCompany->isChecked(), !row.surname);
    EXPECT_TRUE(rowForm.cmdSearch->isEnabled());
  }
}

TEST_F(StartupTest, ErrorsOfTheFirstPhaseAreFatalAndNoWordProcessorEndsToo) {
  Set("Options", "Organizer File Path", WriteAddressBook());
  Set("Options", "Organizer Address Section", QStringLiteral("Address"));
  desktop.Answer(MsgAnswer::Yes);
  desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog&) { throw RuntimeError(7); });
  EXPECT_THROW(form->Form_Load(dir.path()), ProgramEnded);
  ASSERT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(Shown(desktop)[1], QStringLiteral("Fatal Error|Error 7, Out of memory has occured.\n\r\n\r"
                                       "Penlark will be closed.|16"));
  EXPECT_EQ(desktop.boxes[1].pointer, Pointer::Default);

  ScriptedDesktopServices noWordDesktop;
  ProgramValues noWordPv(noWordDesktop, bus.connection());
  frmPenlark noWordForm(noWordPv);
  Set("Address Profiles", "0", QStringLiteral("Letters"));
  EXPECT_THROW(noWordForm.Form_Load(dir.path()), ProgramEnded);
  ASSERT_EQ(noWordDesktop.boxes.size(), 1u);
  EXPECT_EQ(noWordDesktop.boxes[0].title, QStringLiteral("Microsoft Word Not Running"));
}

}  // namespace
