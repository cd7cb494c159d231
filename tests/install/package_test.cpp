// The installed Debian package as a person of the machine meets it. tests/install/package-test
// installs the package, makes new users and runs this, as each of them, with
// PENLARK_PACKAGE_TEST set; in the build tree's own suite it is skipped.

#include "../e2e/Desktop.h"

#include "contract/AutomationContract.h"
#include "contract/DdeContract.h"
#include "PrivateBus.h"
#include "StartsReady.h"
#include "support/Shown.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

#include <unistd.h>

namespace {

const QString kPenlark = QStringLiteral("/usr/bin/penlark");
const QString kOrganizer = QStringLiteral("/usr/bin/penlark-organizer");
const QString kWord = QStringLiteral("/usr/bin/penlark-word");
const QString kProgramDir = QStringLiteral("/usr/lib/penlark");

class InstalledPackage : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("PENLARK_PACKAGE_TEST"))
      GTEST_SKIP() << "run by tests/install/package-test, as a user, with the package installed";
    ASSERT_NE(::geteuid(), 0u) << "run as a person, not as root";
    ASSERT_TRUE(QFileInfo(kPenlark).isExecutable()) << "the package is not installed";
    ASSERT_NE(::access(QFile::encodeName(kProgramDir).constData(), W_OK), 0) << "the program's folder is writable";
    ASSERT_TRUE(folder.isValid());
    desktop = std::make_unique<Desktop>();
    ASSERT_TRUE(desktop->ok()) << desktop->error().toStdString();
    bus = std::make_unique<PrivateBus>();
    ASSERT_TRUE(bus->ok()) << bus->lastError().toStdString();
  }

  QString Path(const char* name) const { return folder.filePath(QLatin1String(name)); }
  void Keys(const QStringList& keys) { ASSERT_TRUE(desktop->Keys(keys)); }
  void Type(const QString& text) { ASSERT_TRUE(desktop->Type(text)); }
  void WaitFor(const QString& title) {
    ASSERT_FALSE(desktop->WaitForWindow(title).isEmpty())
        << "no window \"" << title.toStdString() << "\"; shown: " << desktop->Titles().join(u',').toStdString();
  }

  QTemporaryDir folder;  // the person's address book and letter
  std::unique_ptr<Desktop> desktop;
  std::unique_ptr<PrivateBus> bus;
  QProcess penlark;  // killed, if still running, when the test ends
  const QString ini = QDir::homePath() + QStringLiteral("/.config/penlark/PENLARK.INI");
};

// The person sets Penlark up at the first start, as tests/e2e does with the program in a
// folder of its own; here the settings land in the person's own configuration folder.
// Started again, offscreen, Penlark finds them there and asks nothing.
TEST_F(InstalledPackage, FirstStartAsksAndKeepsTheSettingsInThePersonsOwnFolder) {
  ASSERT_FALSE(QFileInfo::exists(QFileInfo(ini).path())) << "not a new user";
  ASSERT_TRUE(QFile::copy(QStringLiteral(PENLARK_TEST_DATA "/addresses.json"), Path("addresses.json")));
  ASSERT_TRUE(PutBytes(Path("letter.txt"), "Dear [[Salutation]],\n"));
  ASSERT_NE(bus->Start(kOrganizer, {Path("addresses.json")}, DdeServiceName(QStringLiteral("Organize200"))), nullptr)
      << bus->lastError().toStdString();
  const QProcessEnvironment shown = desktop->On(bus->Environment());
  ASSERT_NE(bus->Start(kWord, {Path("letter.txt")}, WindowClassName(QStringLiteral("OpusApp")), &shown), nullptr)
      << bus->lastError().toStdString();

  penlark.setProcessEnvironment(shown);
  EndWithTest(penlark);
  penlark.start(kPenlark, {});
  ASSERT_TRUE(penlark.waitForStarted(5000));
  WaitFor(QStringLiteral("Configuration Information Required"));
  Keys({QStringLiteral("Return")});  // Yes
  WaitFor(QStringLiteral("Options"));
  Type(Path("addresses.json"));
  Keys({QStringLiteral("Tab"), QStringLiteral("Tab")});
  Type(QStringLiteral("Address"));
  Keys({QStringLiteral("Tab"), QStringLiteral("space"), QStringLiteral("alt+o")});
  ASSERT_TRUE(desktop->WaitWindowGone(QStringLiteral("Options")));
  const QByteArray options = "[Options]\nOrganizer File Path=" + Path("addresses.json").toUtf8() +
                             "\nOrganizer Address Section=Address\nSkip Blank Fields=1\n";
  EXPECT_EQ(ReadBytes(ini), options);

  WaitFor(QStringLiteral("No Address Profiles"));
  Keys({QStringLiteral("Return")});  // Yes
  WaitFor(QStringLiteral("Address Profile Name"));
  Type(QStringLiteral("Greeting"));
  Keys({QStringLiteral("Return")});
  WaitFor(QStringLiteral("Address Profile"));
  Type(QStringLiteral("Salutation"));  // row 0: the bookmark, then the field Last Name
  Keys({QStringLiteral("Tab"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("alt+o")});
  ASSERT_TRUE(desktop->WaitWindowGone(QStringLiteral("Address Profile")));

  // The new profile, the surname search, one addressee, Finished.
  const QString main = desktop->WaitForWindow(QStringLiteral("Penlark"));
  ASSERT_FALSE(main.isEmpty());
  ASSERT_TRUE(desktop->Focus(main));
  Keys({QStringLiteral("alt+p"), QStringLiteral("Down"), QStringLiteral("alt+u"), QStringLiteral("Tab")});
  Type(QStringLiteral("Young"));
  Keys({QStringLiteral("Return"), QStringLiteral("Return")});
  ASSERT_TRUE(penlark.waitForFinished(10000)) << "shown: " << desktop->Titles().join(u',').toStdString();
  EXPECT_EQ(penlark.exitCode(), 0) << penlark.readAllStandardError().toStdString();
  QString text;
  EXPECT_EQ(bus->Run(kWord, {QStringLiteral("--print-text")}, &text), 0);
  EXPECT_EQ(text, QStringLiteral("Dear Young,\n"));

  const QByteArray saved = ReadBytes(ini);
  EXPECT_TRUE(saved.startsWith(options + "[Address Profiles]\n0=Greeting\n")) << saved.toStdString();
  EXPECT_TRUE(saved.endsWith("[Recent Settings]\nSearch By=True\nAddress Profile=Greeting\n")) << saved.toStdString();
  EXPECT_EQ(QFileInfo(ini).ownerId(), ::geteuid());
  EXPECT_EQ(QDir(kProgramDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{QStringLiteral("penlark")});

  // Again, offscreen: the person's own settings are found, so no question waits.
  QProcessEnvironment offscreen = bus->Environment();
  offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  ASSERT_NO_FATAL_FAILURE(ExpectStartsReady(kPenlark, offscreen));
  EXPECT_EQ(ReadBytes(ini), saved);
}

}  // namespace
