// The stand-ins' windows on a display with a window manager, as a person meets them: the
// letter window shows what it holds after a transfer, the demo leaves the filled letter in
// view once Penlark ends, and the installed programs open a letter and a contacts file
// from their desktop entries, without a terminal. What the screen shows is read back from
// the X server (ImageMagick's import).

#include "Desktop.h"

#include "contract/AutomationContract.h"
#include "contract/DdeContract.h"
#include "ChildProcesses.h"
#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <memory>
#include <vector>

namespace {

const QString kOrganizerName = DdeServiceName(QStringLiteral("Organize200"));
const QString kWordName = WindowClassName(QStringLiteral("OpusApp"));
const QString kLetterWindow = QStringLiteral("letter.txt - penlark-word");
// The text cursor may blink between two pictures; a stale page differs by thousands.
constexpr qsizetype kCaretPixels = 60;

QString Source(const QString& relative) { return QStringLiteral(PENLARK_SOURCE_DIR "/") + relative; }
QString BuildDir() { return QFileInfo(QStringLiteral(PENLARK_BIN)).dir().absoluteFilePath(QStringLiteral("..")); }

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
}

// Runs a program to its end with the environment; its exit code, output in *out.
int RunToEnd(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
             QString* out = nullptr) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished(1000);
    return -1;
  }
  if (out) *out = QString::fromLocal8Bit(process.readAll());
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// How many pixels of two pictures differ; -1 when their sizes do.
qsizetype Differing(const QImage& a, const QImage& b) {
  if (a.isNull() || a.size() != b.size()) return -1;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  qsizetype count = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int column = 0; column < x.width(); ++column) count += p[column] != q[column];
  }
  return count;
}

// The value of one key of a desktop entry's [Desktop Entry] group.
QString DesktopValue(const QString& path, const QString& key) {
  bool inEntry = false;
  for (const QString& line : QString::fromUtf8(ReadBytes(path)).split(u'\n')) {
    if (line.startsWith(u'[')) inEntry = line == QLatin1String("[Desktop Entry]");
    else if (inEntry && line.startsWith(key + u'=')) return line.mid(key.size() + 1);
  }
  return {};
}

class StandinWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
    ASSERT_TRUE(desktop.ok()) << desktop.error().toStdString();
    // The window manager says it is up by running its start-up command.
    const QString up = folder.filePath(QStringLiteral("wm-up"));
    windowManager.setProcessEnvironment(desktop.On(QProcessEnvironment::systemEnvironment()));
    EndWithTest(windowManager);
    windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--startup"), QStringLiteral("touch ") + up});
    ASSERT_TRUE(windowManager.waitForStarted(5000)) << "openbox (Debian package openbox)";
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(up)) {
      ASSERT_FALSE(deadline.hasExpired()) << "openbox did not come up";
      QThread::msleep(50);
    }
    ASSERT_TRUE(QFile::copy(Source(QStringLiteral("samples/addresses.json")), Path("addresses.json")));
    ASSERT_TRUE(QFile::copy(Source(QStringLiteral("samples/letter.txt")), Path("letter.txt")));
  }
  void TearDown() override {
    windowManager.terminate();
    windowManager.waitForFinished(5000);
  }

  QString Path(const char* name) const { return folder.filePath(QLatin1String(name)); }
  QProcessEnvironment Shown() const { return desktop.On(bus.Environment()); }

  // What the X server shows of the window.
  QImage OnScreen(const QString& window) {
    const QString picture = folder.filePath(QStringLiteral("screen-%1.png").arg(++pictures));
    QString said;
    EXPECT_EQ(RunToEnd(QStringLiteral("import"), {QStringLiteral("-window"), window, picture},
                       desktop.On(QProcessEnvironment::systemEnvironment()), &said),
              0)
        << "import (Debian package imagemagick): " << said.toStdString();
    return QImage(picture);
  }
  // The letter window's own rendering of its document, asked over busEnvironment's bus.
  QImage OwnRendering(const QProcessEnvironment& busEnvironment) {
    const QString picture = folder.filePath(QStringLiteral("own-%1.png").arg(++pictures));
    QString said;
    EXPECT_EQ(RunToEnd(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--screenshot"), picture}, busEnvironment, &said),
              0)
        << said.toStdString();
    return QImage(picture);
  }
  // The screen shows the letter window as the window itself draws it.
  void ExpectScreenShowsTheDocument(const QString& window, const QProcessEnvironment& busEnvironment) {
    QThread::msleep(300);  // a frame or two for the last change to be drawn
    const QImage screen = OnScreen(window);
    const qsizetype differing = Differing(screen, OwnRendering(busEnvironment));
    EXPECT_GE(differing, 0) << "the pictures differ in size";
    EXPECT_LE(differing, kCaretPixels) << "the screen shows something else than the document: see "
                                       << folder.path().toStdString();
  }
  QString Letter(const QProcessEnvironment& busEnvironment) {
    QString text;
    EXPECT_EQ(RunToEnd(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--print-text")}, busEnvironment, &text), 0);
    return text;
  }

  QTemporaryDir folder;
  PrivateBus bus;
  Desktop desktop;
  QProcess windowManager;
  int pictures = 0;
};

TEST_F(StandinWindows, TheLetterWindowShowsATransferAsItHappens) {
  ASSERT_NE(bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), {Path("addresses.json")}, kOrganizerName), nullptr)
      << bus.lastError().toStdString();
  const QProcessEnvironment shown = Shown();
  ASSERT_NE(bus.Start(QStringLiteral(PENLARK_WORD_BIN), {Path("letter.txt")}, kWordName, &shown), nullptr)
      << bus.lastError().toStdString();
  const QString window = desktop.WaitForWindow(kLetterWindow);
  ASSERT_FALSE(window.isEmpty());
  ExpectScreenShowsTheDocument(window, bus.Environment());

  // Penlark's transfer, through its real windows offscreen, into the window on the display.
  QByteArray ini = ReadBytes(Source(QStringLiteral("samples/PENLARK.INI")));
  ini.replace("Organizer File Path=addresses.json", "Organizer File Path=" + Path("addresses.json").toUtf8());
  QFile file(Path("PENLARK.INI"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
  file.close();
  QProcessEnvironment offscreen = bus.Environment();
  offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QString said;
  ASSERT_EQ(RunToEnd(QStringLiteral(PENLARK_DEMO_BIN),
                     {QStringLiteral("--dir"), folder.path(), QStringLiteral("--pictures"), folder.path(),
                      QStringLiteral("--search"), QStringLiteral("Hartley"), QStringLiteral("--pick"), QStringLiteral("2"),
                      QStringLiteral("--profile"), QStringLiteral("Business Letter")},
                     offscreen, &said),
            0)
      << said.toStdString();
  EXPECT_FALSE(said.contains(QStringLiteral("propagateSizeHints"))) << said.toStdString();
  ASSERT_TRUE(Letter(bus.Environment()).contains(QStringLiteral("Dear Dr Hartley,")));
  ExpectScreenShowsTheDocument(window, bus.Environment());
}

// scripts/demo as it stands, from a copy of the repository whose build step is left out:
// the programs are the ones built here.
TEST_F(StandinWindows, TheDemoKeepsTheFilledLetterInViewUntilItsWindowCloses) {
  const QString repository = Path("repository");
  ASSERT_TRUE(QDir().mkpath(repository + QStringLiteral("/scripts")) && QDir().mkpath(repository + QStringLiteral("/samples")));
  for (const char* name : {"scripts/demo", "scripts/demo-lib.sh", "samples/addresses.json", "samples/letter.txt",
                           "samples/PENLARK.INI"})
    ASSERT_TRUE(QFile::copy(Source(QLatin1String(name)), repository + u'/' + QLatin1String(name))) << name;
  QFile build(repository + QStringLiteral("/scripts/build"));
  ASSERT_TRUE(build.open(QIODevice::WriteOnly) && build.write("#!/bin/sh\nexit 0\n") > 0);
  build.close();
  build.setPermissions(build.permissions() | QFile::ExeOwner);

  struct Ending {
    const char* how;
    int status;
  };
  for (const Ending ending : {Ending{"closing the letter window", 0}, Ending{"Ctrl-C", 130}}) {
    SCOPED_TRACE(ending.how);
    QProcessEnvironment environment = desktop.On(QProcessEnvironment::systemEnvironment());
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.insert(QStringLiteral("PENLARK_BUILD_DIR"), BuildDir());
    environment.insert(QStringLiteral("PENLARK_DEMO_DIR"), Path("demo"));
    QProcess demo;
    demo.setProcessEnvironment(environment);
    demo.setProcessChannelMode(QProcess::MergedChannels);
    EndWithTest(demo, true);
    demo.start(QStringLiteral("bash"), {repository + QStringLiteral("/scripts/demo")});
    ASSERT_TRUE(demo.waitForStarted(5000));
    const auto group = static_cast<pid_t>(demo.processId());
    ASSERT_GT(group, 0);
    ListGroup(group);
    const auto stopDemo = qScopeGuard([&demo, group] {
      if (demo.state() != QProcess::NotRunning) {
        demo.terminate();
        demo.waitForFinished(10000);
      }
      ::kill(-group, SIGKILL);  // whatever the demo left behind
      UnlistGroup(group);
    });

    const QString main = desktop.WaitForWindow(QStringLiteral("Penlark"));
    ASSERT_FALSE(main.isEmpty()) << "shown: " << desktop.Titles().join(u',').toStdString()
                                 << "\n" << demo.readAll().toStdString();
    ASSERT_TRUE(desktop.Focus(main));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Hartley")));
    ASSERT_TRUE(desktop.Keys({QStringLiteral("Return"), QStringLiteral("Down"), QStringLiteral("Down"),
                              QStringLiteral("Return")}));
    ASSERT_TRUE(desktop.WaitWindowGone(QStringLiteral("Penlark")));

    // Penlark has ended; the demo says the letter stays, and it does, filled, on screen.
    QString output;
    QDeadlineTimer deadline(10000);
    while (!output.contains(QStringLiteral("Ctrl-C")) && !deadline.hasExpired()) {
      demo.waitForReadyRead(100);
      output += QString::fromLocal8Bit(demo.readAll());
    }
    EXPECT_TRUE(output.contains(QStringLiteral("the letter stays open in penlark-word"))) << output.toStdString();
    const QRegularExpressionMatch address =
        QRegularExpression(QStringLiteral("private session bus at (\\S+)")).match(output);
    ASSERT_TRUE(address.hasMatch()) << output.toStdString();
    QProcessEnvironment demoBus = QProcessEnvironment::systemEnvironment();
    demoBus.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address.captured(1));
    EXPECT_FALSE(demo.waitForFinished(1000)) << output.toStdString();
    const QString letter = desktop.WaitForWindow(kLetterWindow);
    ASSERT_FALSE(letter.isEmpty()) << "shown: " << desktop.Titles().join(u',').toStdString();
    EXPECT_TRUE(Letter(demoBus).contains(QStringLiteral("Dear Dr Hartley,")));
    ExpectScreenShowsTheDocument(letter, demoBus);

    if (ending.status == 0) {
      ASSERT_TRUE(desktop.Focus(letter));
      ASSERT_TRUE(desktop.Keys({QStringLiteral("alt+F4")}));  // the window manager's close
    } else {
      ::kill(group, SIGINT);
    }
    ASSERT_TRUE(demo.waitForFinished(10000));
    EXPECT_EQ(demo.exitCode(), ending.status) << demo.readAll().toStdString();
    EXPECT_TRUE(desktop.WaitWindowGone(kLetterWindow));
    // Everything it started has gone with it, its bus too.
    EXPECT_NE(RunToEnd(QStringLiteral("dbus-send"),
                       {QStringLiteral("--session"), QStringLiteral("--dest=org.freedesktop.DBus"),
                        QStringLiteral("--print-reply"), QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.GetId")},
                       demoBus),
              0);
  }
}

// Installed into a fresh prefix, and started as a desktop starts a desktop entry: its Exec
// line with the field codes filled, no terminal and no standard input.
class InstalledWindows : public StandinWindows {
 protected:
  void SetUp() override {
    StandinWindows::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(prefix.isValid());
    QString log;
    ASSERT_EQ(RunToEnd(QStringLiteral(PENLARK_CMAKE),
                       {QStringLiteral("--install"), BuildDir(), QStringLiteral("--prefix"), prefix.path()},
                       QProcessEnvironment::systemEnvironment(), &log),
              0)
        << log.toStdString();
  }

  QString Applications(const QString& entry) const {
    return prefix.path() + QStringLiteral("/" PENLARK_INSTALL_DATADIR "/applications/") + entry;
  }

  // Starts the entry's Exec line on the display; %f and %F become files.
  QProcess* Launch(const QString& entry, const QStringList& files) {
    const QString path = Applications(entry);
    EXPECT_EQ(DesktopValue(path, QStringLiteral("Terminal")), QStringLiteral("false"));
    const QStringList words = DesktopValue(path, QStringLiteral("Exec")).split(u' ', Qt::SkipEmptyParts);
    QStringList command;
    for (const QString& word : words) {
      if (word == QLatin1String("%f")) command << files.mid(0, 1);
      else if (word == QLatin1String("%F")) command << files;
      else command << word;
    }
    if (command.isEmpty()) return nullptr;
    QProcessEnvironment environment = Shown();
    environment.insert(QStringLiteral("PATH"), prefix.path() + QStringLiteral("/" PENLARK_INSTALL_BINDIR ":") +
                                                   environment.value(QStringLiteral("PATH")));
    QProcess* process = launched.emplace_back(std::make_unique<QProcess>()).get();
    process->setProcessEnvironment(environment);
    process->setStandardInputFile(QProcess::nullDevice());
    EndWithTest(*process);
    const QString program = FindProgram(command.takeFirst(), environment);
    process->start(program, command);
    EXPECT_TRUE(process->waitForStarted(5000)) << program.toStdString();
    return process;
  }

  static QString FindProgram(const QString& program, const QProcessEnvironment& environment) {
    for (const QString& folder : environment.value(QStringLiteral("PATH")).split(u':')) {
      const QFileInfo candidate(folder + u'/' + program);
      if (candidate.isExecutable()) return candidate.filePath();
    }
    return program;
  }

  void Stop(QProcess* process) {
    if (process && process->state() != QProcess::NotRunning) {
      process->terminate();
      process->waitForFinished(5000);
    }
  }

  QTemporaryDir prefix;
  std::vector<std::unique_ptr<QProcess>> launched;
};

TEST_F(InstalledWindows, TheAddressBookOpenedOnAContactsFileShowsWhatItServesAndQuits) {
  QProcess* organizer = Launch(QStringLiteral("org.penlark.Organizer.desktop"), {Path("addresses.json")});
  ASSERT_NE(organizer, nullptr);
  const QString window = desktop.WaitForWindow(QStringLiteral("addresses.json - Penlark Address Book"));
  ASSERT_FALSE(window.isEmpty()) << "shown: " << desktop.Titles().join(u',').toStdString()
                                 << organizer->readAllStandardError().toStdString();
  EXPECT_TRUE(bus.HasName(kOrganizerName));
  EXPECT_FALSE(OnScreen(window).isNull());  // a picture to look at beside the test's files

  // A second copy cannot serve: it says so in a box, as nobody reads its stderr.
  QProcess* second = Launch(QStringLiteral("org.penlark.Organizer.desktop"), {Path("addresses.json")});
  ASSERT_NE(second, nullptr);
  ASSERT_FALSE(desktop.WaitForWindow(QStringLiteral("Penlark Address Book")).isEmpty())
      << "shown: " << desktop.Titles().join(u',').toStdString();
  ASSERT_TRUE(desktop.Keys({QStringLiteral("Return")}));
  ASSERT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(second->exitCode(), 1);

  ASSERT_TRUE(desktop.Focus(window));
  ASSERT_TRUE(desktop.Keys({QStringLiteral("alt+q")}));
  ASSERT_TRUE(organizer->waitForFinished(10000)) << "shown: " << desktop.Titles().join(u',').toStdString();
  EXPECT_EQ(organizer->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(organizer->exitCode(), 0);
  EXPECT_TRUE(bus.WaitNameGone(kOrganizerName));
}

TEST_F(InstalledWindows, TheWordProcessorOpensALetterFromItsFileMenu) {
  QProcess* word = Launch(QStringLiteral("org.penlark.Word.desktop"), {});
  ASSERT_NE(word, nullptr);
  const QString window = desktop.WaitForWindow(QStringLiteral("penlark-word"));
  ASSERT_FALSE(window.isEmpty()) << "shown: " << desktop.Titles().join(u',').toStdString();
  ASSERT_TRUE(desktop.Focus(window));
  ASSERT_TRUE(desktop.Keys({QStringLiteral("ctrl+o")}));
  ASSERT_FALSE(desktop.WaitForWindow(QStringLiteral("Open Letter")).isEmpty())
      << "shown: " << desktop.Titles().join(u',').toStdString();
  ASSERT_TRUE(desktop.Type(Path("letter.txt")));
  ASSERT_TRUE(desktop.Keys({QStringLiteral("Return")}));
  const QString opened = desktop.WaitForWindow(kLetterWindow);
  ASSERT_FALSE(opened.isEmpty()) << "shown: " << desktop.Titles().join(u',').toStdString();
  QString expected = QString::fromUtf8(ReadBytes(Path("letter.txt")));
  expected.remove(QRegularExpression(QStringLiteral(R"(\[\[[^\[\]]+\]\])")));
  EXPECT_EQ(Letter(bus.Environment()).toStdString(), expected.toStdString());
  ExpectScreenShowsTheDocument(opened, bus.Environment());
  Stop(word);

  // Open With on a letter: the file given to the Exec line.
  word = Launch(QStringLiteral("org.penlark.Word.desktop"), {Path("letter.txt")});
  ASSERT_NE(word, nullptr);
  EXPECT_FALSE(desktop.WaitForWindow(kLetterWindow).isEmpty()) << "shown: " << desktop.Titles().join(u',').toStdString();
  EXPECT_EQ(Letter(bus.Environment()).toStdString(), expected.toStdString());
  Stop(word);
}

// The entry is offered for Penlark letters, which are known by name, and not for every
// text file.
TEST_F(InstalledWindows, LettersHaveATypeOfTheirOwnBelowPlainText) {
  EXPECT_EQ(DesktopValue(Applications(QStringLiteral("org.penlark.Word.desktop")), QStringLiteral("MimeType")),
            QStringLiteral("text/x-penlark-letter;"));
  const QString share = prefix.path() + QStringLiteral("/" PENLARK_INSTALL_DATADIR);
  QString said;
  ASSERT_EQ(RunToEnd(QStringLiteral("update-mime-database"), {share + QStringLiteral("/mime")},
                     QProcessEnvironment::systemEnvironment(), &said),
            0)
      << said.toStdString();
  const bool hadDataDirs = qEnvironmentVariableIsSet("XDG_DATA_DIRS");
  const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
  const auto restore = qScopeGuard([&] { hadDataDirs ? qputenv("XDG_DATA_DIRS", dataDirs) : qunsetenv("XDG_DATA_DIRS"); });
  qputenv("XDG_DATA_DIRS", (share + QStringLiteral(":/usr/share")).toLocal8Bit());
  const QMimeDatabase types;
  const QMimeType letter = types.mimeTypeForFile(QStringLiteral("smith.letter.txt"), QMimeDatabase::MatchExtension);
  EXPECT_EQ(letter.name(), QStringLiteral("text/x-penlark-letter"));
  EXPECT_TRUE(letter.inherits(QStringLiteral("text/plain")));
  EXPECT_EQ(types.mimeTypeForFile(QStringLiteral("smith.letter"), QMimeDatabase::MatchExtension).name(),
            QStringLiteral("text/x-penlark-letter"));
  EXPECT_EQ(types.mimeTypeForFile(QStringLiteral("notes.txt"), QMimeDatabase::MatchExtension).name(),
            QStringLiteral("text/plain"));
}

}  // namespace
