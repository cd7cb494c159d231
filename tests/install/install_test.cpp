// The build tree installed as a person would (InstallTest), and the installed Debian package
// as a person of the machine meets it (InstalledPackage: tests/install/package-test installs
// the package, makes new users and runs it as each of them with PENLARK_PACKAGE_TEST set; in
// the build tree's own suite it is skipped). What scripts/package and package-test check
// themselves is not checked again here: the metainfo valid, penlark-writer finding its
// libraries, the program's folder holding the program alone, the settings' owner.

#include "../e2e/Desktop.h"

#include "ChildProcesses.h"
#include "contract/AutomationContract.h"
#include "contract/DdeContract.h"
#include "PrivateBus.h"
#include "support/Shown.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

// The exit code and then what the program said: "0: " is a quiet success.
std::string Ran(const QString& program, const QStringList& arguments) {
  QString said;
  const int code = RunToEnd(program, arguments, QProcessEnvironment::systemEnvironment(), &said);
  return std::to_string(code) + ": " + said.toStdString();
}

// Starts penlark to the point where a person could search (PENLARK_EXIT_WHEN_READY): no
// start-up box may wait, and it ends with 0 saying so.
void ExpectStartsReady(const QString& penlark, QProcessEnvironment environment) {
  QProcess process;
  environment.insert(QStringLiteral("PENLARK_EXIT_WHEN_READY"), QStringLiteral("1"));
  process.setProcessEnvironment(environment);
  EndWithTest(process);
  process.start(penlark, {});
  ASSERT_TRUE(process.waitForFinished(30000)) << "a start-up box is waiting: " << process.readAllStandardError().toStdString();
  EXPECT_EQ(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, 0) << process.readAllStandardError().toStdString();
  EXPECT_EQ(process.readAllStandardOutput(), QByteArray("penlark: ready\n"));
}

const QString kBin = QStringLiteral(PENLARK_INSTALL_BINDIR);
const QString kProgramDir = QStringLiteral(PENLARK_INSTALL_PROGRAMDIR);
const QString kShare = QStringLiteral(PENLARK_INSTALL_DATADIR);
const QString kApplications = kShare + QStringLiteral("/applications");
const QStringList kDesktopEntries = {QStringLiteral("org.penlark.Organizer.desktop"),
                                     QStringLiteral("org.penlark.Penlark.desktop"),
                                     QStringLiteral("org.penlark.Word.desktop")};

// Installed into a fresh prefix: a manual page for each program, the desktop entries and
// the letter type (scripts/package validates the entries, lintian the manual pages and the
// icons). Then penlark, started through its link, finds the configuration beside the
// program itself: were it looking in bin, the first-start boxes would wait for an answer
// instead.
TEST(InstallTest, InstalledInPlaceAndStartedBesideItsOwnConfiguration) {
  QTemporaryDir prefix;
  ASSERT_TRUE(prefix.isValid());
  const auto at = [&](const QString& relative) { return prefix.path() + u'/' + relative; };
  const std::string installed = Ran(QStringLiteral(PENLARK_CMAKE), {"--install", PENLARK_BUILD_DIR, "--prefix", prefix.path()});
  ASSERT_TRUE(installed.starts_with("0: ")) << installed;
  // A manual page for each program (penlark-writer comes with PENLARK_WITH_WRITER).
  const QString man = at(kShare + QStringLiteral("/man/man1/"));
  QStringList pages = {"penlark-organizer.1", "penlark-word.1", "penlark-writer.1", "penlark.1"};
  if (!PENLARK_WITH_WRITER) pages.removeOne(QStringLiteral("penlark-writer.1"));
  EXPECT_EQ(Entries(man), pages);
  // bin holds a link to penlark, relative: one naming the prefix would break in a moved tree
  // or under DESTDIR.
  char target[4096];
  const ssize_t size = ::readlink(QFile::encodeName(at(kBin + QStringLiteral("/penlark"))).constData(), target, sizeof target);
  ASSERT_GT(size, 0);
  EXPECT_NE(target[0], '/') << std::string(target, static_cast<size_t>(size));

  // The entries start installed programs; only the window programs are offered in menus, as
  // the address book needs a file. The word processor's is offered for Penlark letters,
  // known by name, and not for every text file.
  EXPECT_EQ(Entries(at(kApplications)), kDesktopEntries);
  for (const QString& name : kDesktopEntries) {
    SCOPED_TRACE(name.toStdString());
    const QString entry = at(kApplications + u'/' + name);
    for (const char* key : {"Name", "Comment", "Type", "Terminal", "Categories"})
      EXPECT_NE(DesktopValue(entry, QString::fromLatin1(key)), QStringLiteral("<missing>")) << key;
    const QString program = DesktopValue(entry, QStringLiteral("Exec")).section(u' ', 0, 0);
    EXPECT_TRUE(QFileInfo(at(kBin + u'/' + program)).isExecutable()) << program.toStdString();
    const QString icon = QStringLiteral("/icons/hicolor/scalable/apps/") + DesktopValue(entry, QStringLiteral("Icon"));
    EXPECT_TRUE(QFileInfo::exists(at(kShare + icon + QStringLiteral(".svg")))) << icon.toStdString();
  }
  const auto value = [&](const char* entry, const char* key) {
    return DesktopValue(at(kApplications + QStringLiteral("/org.penlark.") + QLatin1String(entry)), QLatin1String(key));
  };
  EXPECT_EQ(value("Penlark.desktop", "Terminal") + value("Organizer.desktop", "NoDisplay") + value("Word.desktop", "MimeType"),
            QStringLiteral("falsetruetext/x-penlark-letter;"));
  const std::string updated = Ran(QStringLiteral("update-mime-database"), {at(kShare + QStringLiteral("/mime"))});
  ASSERT_TRUE(updated.starts_with("0: ")) << updated;
  const bool hadDataDirs = qEnvironmentVariableIsSet("XDG_DATA_DIRS");
  const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
  const auto restore = qScopeGuard([&] { hadDataDirs ? qputenv("XDG_DATA_DIRS", dataDirs) : qunsetenv("XDG_DATA_DIRS"); });
  qputenv("XDG_DATA_DIRS", (at(kShare) + QStringLiteral(":/usr/share")).toLocal8Bit());
  const QMimeDatabase types;
  const auto type = [&](const char* file) { return types.mimeTypeForFile(QLatin1String(file), QMimeDatabase::MatchExtension); };
  EXPECT_EQ(type("smith.letter.txt").name() + type("smith.letter").name() + type("notes.txt").name(),
            QStringLiteral("text/x-penlark-lettertext/x-penlark-lettertext/plain"));
  EXPECT_TRUE(type("smith.letter.txt").inherits(QStringLiteral("text/plain")));

  PrivateBus bus;
  ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
  ASSERT_TRUE(bus.Start(at(kBin + QStringLiteral("/penlark-word")), {QStringLiteral("--dialect"), QStringLiteral("word97"), QStringLiteral(PENLARK_TEST_DATA "/letter.txt")},
                        RunningObjectName(QStringLiteral("Word.Application.8"))))
      << bus.lastError().toStdString();
  const QString ini = at(kProgramDir + QStringLiteral("/PENLARK.INI"));
  const QByteArray configuration =
      "[Options]\nOrganizer File Path=" PENLARK_TEST_DATA "/addresses.json\n"
      "Organizer Address Section=Address\n\n[Address Profiles]\n0=Letters\n\n"
      "[Profile 0]\nBookmark 0=Name\nField 0=Last Name\nSeparator 0=\n";
  ASSERT_TRUE(PutBytes(ini, configuration));
  const QStringList binBefore = Entries(at(kBin));
  ASSERT_NO_FATAL_FAILURE(ExpectStartsReady(at(kBin + QStringLiteral("/penlark")), bus.Environment()));
  // Starting reads the configuration and writes nothing, beside the program or in bin;
  // penlark lives in a folder of its own, installed with no PENLARK.INI but this one.
  EXPECT_EQ(ReadBytes(ini), configuration);
  EXPECT_EQ(Entries(at(kProgramDir)), (QStringList{QStringLiteral("PENLARK.INI"), QStringLiteral("penlark")}));
  EXPECT_EQ(Entries(at(kBin)), binBefore);
}

// The person sets Penlark up at the first start, as tests/e2e does with the program in a
// folder of its own; here the settings land in the person's own configuration folder.
// Started again, offscreen, Penlark finds them there and asks nothing.
TEST(InstalledPackage, FirstStartAsksAndKeepsTheSettingsInThePersonsOwnFolder) {
  if (!qEnvironmentVariableIsSet("PENLARK_PACKAGE_TEST"))
    GTEST_SKIP() << "run by tests/install/package-test, as a user, with the package installed";
  const QString ini = QDir::homePath() + QStringLiteral("/.config/penlark/PENLARK.INI");
  QTemporaryDir folder;  // the person's address book and letter
  ASSERT_TRUE(folder.isValid());
  const auto path = [&](const char* name) { return folder.filePath(QLatin1String(name)); };
  Desktop desktop;
  ASSERT_TRUE(desktop.ok()) << desktop.error().toStdString();
  const auto waitFor = [&](const QString& title) {
    if (!desktop.WaitForWindow(title).isEmpty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no window \"" << title.toStdString()
                                         << "\"; shown: " << desktop.Titles().join(u',').toStdString();
  };
  PrivateBus bus;
  ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
  ASSERT_TRUE(QFile::copy(QStringLiteral(PENLARK_TEST_DATA "/addresses.json"), path("addresses.json")));
  ASSERT_TRUE(PutBytes(path("letter.txt"), "Dear [[Salutation]],\n"));
  const QString word = QStringLiteral("/usr/bin/penlark-word");
  ASSERT_NE(bus.Start(QStringLiteral("/usr/bin/penlark-organizer"), {path("addresses.json")}, DdeServiceName(QStringLiteral("Organize200"))), nullptr)
      << bus.lastError().toStdString();
  const QProcessEnvironment shown = desktop.On(bus.Environment());
  ASSERT_NE(bus.Start(word, {path("letter.txt")}, WindowClassName(QStringLiteral("OpusApp")), &shown), nullptr)
      << bus.lastError().toStdString();

  QProcess penlark;  // killed, if still running, when the test ends
  penlark.setProcessEnvironment(shown);
  EndWithTest(penlark);
  penlark.start(QStringLiteral("/usr/bin/penlark"), {});
  ASSERT_TRUE(penlark.waitForStarted(5000));
  ASSERT_TRUE(waitFor(QStringLiteral("Configuration Information Required")));
  ASSERT_TRUE(desktop.Keys({"Return"}));  // Yes
  ASSERT_TRUE(waitFor(QStringLiteral("Options")));
  ASSERT_TRUE(desktop.Type(path("addresses.json")) && desktop.Keys({"Tab", "Tab"}));
  ASSERT_TRUE(desktop.Type(QStringLiteral("Address")) && desktop.Keys({"Tab", "space", "alt+o"}));
  ASSERT_TRUE(desktop.WaitWindowGone(QStringLiteral("Options")));
  const QByteArray options = "[Options]\nOrganizer File Path=" + path("addresses.json").toUtf8() +
                             "\nOrganizer Address Section=Address\nSkip Blank Fields=1\n";
  EXPECT_EQ(ReadBytes(ini), options);

  ASSERT_TRUE(waitFor(QStringLiteral("No Address Profiles")));
  ASSERT_TRUE(desktop.Keys({"Return"}));  // Yes
  ASSERT_TRUE(waitFor(QStringLiteral("Address Profile Name")));
  ASSERT_TRUE(desktop.Type(QStringLiteral("Greeting")) && desktop.Keys({"Return"}));
  ASSERT_TRUE(waitFor(QStringLiteral("Address Profile")));
  // Row 0: the bookmark, then the field Last Name.
  ASSERT_TRUE(desktop.Type(QStringLiteral("Salutation")) && desktop.Keys({"Tab", "Down", "Down", "alt+o"}));
  ASSERT_TRUE(desktop.WaitWindowGone(QStringLiteral("Address Profile")));

  // The new profile, the surname search, one addressee, Finished.
  const QString main = desktop.WaitForWindow(QStringLiteral("Penlark"));
  ASSERT_FALSE(main.isEmpty());
  ASSERT_TRUE(desktop.Focus(main) && desktop.Keys({"alt+p", "Down", "alt+u", "Tab"}));
  ASSERT_TRUE(desktop.Type(QStringLiteral("Young")) && desktop.Keys({"Return", "Return"}));
  ASSERT_TRUE(penlark.waitForFinished(10000)) << "shown: " << desktop.Titles().join(u',').toStdString();
  EXPECT_EQ(penlark.exitCode(), 0) << penlark.readAllStandardError().toStdString();
  QString text;
  EXPECT_EQ(bus.Run(word, {QStringLiteral("--print-text")}, &text), 0);
  EXPECT_EQ(text, QStringLiteral("Dear Young,\n"));
  const QByteArray saved = ReadBytes(ini);
  EXPECT_TRUE(saved.startsWith(options + "[Address Profiles]\n0=Greeting\n")) << saved.toStdString();
  EXPECT_TRUE(saved.endsWith("[Recent Settings]\nSearch By=True\nAddress Profile=Greeting\n")) << saved.toStdString();

  // Again, offscreen: the person's own settings are found, so no question waits.
  QProcessEnvironment offscreen = bus.Environment();
  offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  ASSERT_NO_FATAL_FAILURE(ExpectStartsReady(QStringLiteral("/usr/bin/penlark"), offscreen));
  EXPECT_EQ(ReadBytes(ini), saved);
}

}  // namespace
