#include "support/ProgramFixture.h"

#include "config/ConfigFile.h"
#include "runtime/RuntimeError.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>

namespace {

using StartupTest = ProgramFixture;

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
  };
  ASSERT_TRUE(StartWord({WriteLetter(QStringLiteral("[[Name]]"))}));
  const QString dataFile = WriteAddressBook();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shown.toStdString() + (row.searchBy ? row.searchBy : "(missing)"));
    ASSERT_NO_FATAL_FAILURE(WriteConfiguration(dataFile, {}));
    Set("Address Profiles", "1", QStringLiteral("Labels"));
    if (row.profile) Set("Recent Settings", "Address Profile", QString::fromLatin1(row.profile));
    if (row.searchBy) Set("Recent Settings", "Search By", QString::fromLatin1(row.searchBy));
    desktop = {};
    NewWindow();
    form->Form_Load(dir.path());
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(form->cboAddressProfile->currentText(), row.shown);
    EXPECT_EQ(form->optSurname->isChecked(), row.surname);
    EXPECT_EQ(form->optCompany->isChecked(), !row.surname);
    EXPECT_TRUE(form->cmdSearch->isEnabled());
  }
}

// PENLARK.INI stays beside the program where one is or one can be written; otherwise it is
// the person's own, in a configuration folder that the first write makes. (Beside the
// program when one is there: install.InstallTest.InstalledInPlaceAndStartedBesideItsOwnConfiguration.) With no settings
// the checks ask twice (tests/config) and then for a profile; answered No each time, the
// window is left without a profile or a search, and start-up has written nothing.
TEST_F(StartupTest, ConfigurationFileBesideTheProgramOrInThePersonsOwnFolder) {
  struct Row {
    const char* programDir;  // below the test's folder
    const char* configHome;  // XDG_CONFIG_HOME; nullptr: unset
    const char* expected;    // below the test's folder
  };
  const Row rows[] = {
      {"program", "xdg", "program/PENLARK.INI"},
      {"missing", nullptr, "home/.config/penlark/PENLARK.INI"},  // cannot be written
      {"missing", "@/xdg", "xdg/penlark/PENLARK.INI"},
      {"missing", "relative", "home/.config/penlark/PENLARK.INI"},
  };
  ASSERT_TRUE(StartWord({WriteLetter(QStringLiteral("[[Name]]"))}));
  const QByteArray home = qgetenv("HOME"), configHome = qgetenv("XDG_CONFIG_HOME");
  const auto restore = qScopeGuard([&] {
    qputenv("HOME", home);
    configHome.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", configHome);
  });
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.programDir) + " " + (row.configHome ? row.configHome : "(unset)"));
    QTemporaryDir top;
    QDir(top.path()).mkdir(QStringLiteral("program"));
    const QString at = top.path() + u'/';
    qputenv("HOME", (at + "home").toUtf8());
    if (row.configHome) qputenv("XDG_CONFIG_HOME", QByteArray(row.configHome).replace("@/", at.toUtf8()));
    else qunsetenv("XDG_CONFIG_HOME");

    desktop = {};
    for (int i = 0; i < 3; ++i) desktop.Answer(MsgAnswer::No);
    NewWindow();
    form->Form_Load(at + QLatin1String(row.programDir));
    const QString expected = at + QLatin1String(row.expected);
    EXPECT_EQ(pv.ConfigFilePath, expected);
    ASSERT_EQ(desktop.boxes.size(), 3u);
    EXPECT_EQ(Shown(desktop, true)[2], QStringLiteral("No Address Profiles|No Address Profiles have been setup.  "
                                                         "Do you want to create a Address Profile now?|36|0"));
    EXPECT_EQ(QStringList({QString::number(form->cboAddressProfile->count()), QString::number(form->optCompany->isChecked()),
                           QString::number(form->optSurname->isChecked()), QString::number(form->cmdSearch->isEnabled()),
                           pv.WordVersion, QString::number(desktop.MousePointer())}),
              QStringList({"0", "1", "0", "0", "8.0", "0"}));
    EXPECT_FALSE(QFileInfo::exists(expected)) << "start-up itself writes nothing";
    EXPECT_FALSE(QFileInfo::exists(at + "home") || QFileInfo::exists(at + "xdg")) << "start-up makes no folder";
    EXPECT_TRUE(WriteConfigString(pv, QStringLiteral("Options"), QStringLiteral("Skip Blank Fields"), "1"));
    EXPECT_EQ(ReadConfigString(expected, QStringLiteral("Options"), QStringLiteral("Skip Blank Fields")), "1");
  }
}

TEST_F(StartupTest, ErrorsOfTheFirstPhaseAreFatal) {
  Set("Options", "Organizer File Path", WriteAddressBook());
  Set("Options", "Organizer Address Section", QStringLiteral("Address"));
  desktop.Answer(MsgAnswer::Yes);
  desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog&) { throw RuntimeError(1000); });
  EXPECT_THROW(form->Form_Load(dir.path()), ProgramEnded);
  ASSERT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(Shown(desktop)[1], QStringLiteral("Fatal Error|Error 1000, Application-defined or object-defined error "
                                              "has occured.\n\r\n\rPenlark will be closed.|16"));
  EXPECT_EQ(desktop.boxes[1].pointer, Pointer::Default);
}

}  // namespace
