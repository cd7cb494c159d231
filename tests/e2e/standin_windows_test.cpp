// The stand-ins' windows on a display with a window manager, as a person meets them: the
// letter window shows what it holds after a transfer, the demo leaves the filled letter in
// view once Penlark ends, and the installed programs open a letter and a contacts file
// from their desktop entries, without a terminal. What the screen shows is read back from
// the X server (ImageMagick's import).

#include "EndToEnd.h"

#include <QFileInfo>
#include <QImage>
#include <QThread>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>

#include <csignal>
#include <memory>
#include <vector>

namespace {

const QString kLetterWindow = QStringLiteral("letter.txt - penlark-word");
// The text cursor may blink between two pictures; a stale page differs by thousands.
constexpr qsizetype kCaretPixels = 60;

QString Source(const QString& relative) { return QStringLiteral(PENLARK_SOURCE_DIR "/") + relative; }
QString BuildDir() { return QFileInfo(QStringLiteral(PENLARK_BIN)).dir().absoluteFilePath(QStringLiteral("..")); }

// How many pixels of two pictures differ; -1 when their sizes do.
qsizetype Differing(const QImage& a, const QImage& b) {
  if (a.isNull() || a.size() != b.size()) return -1;
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  qsizetype count = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int column = 0; column < x.width(); ++column) count += p[column] != q[column];
  }
  return count;
}

class StandinWindows : public EndToEnd {
 protected:
  // The screen shows the letter window as the window itself draws its document, asked over
  // busEnvironment's bus.
  void ExpectScreenShowsTheDocument(const QString& window, const QProcessEnvironment& busEnvironment) {
    QThread::msleep(300);  // a frame or two for the last change to be drawn
    const QString shown = folder.filePath(QStringLiteral("shown-%1.png").arg(++pictures));
    const QString drawn = folder.filePath(QStringLiteral("drawn-%1.png").arg(pictures));
    EXPECT_TRUE(desktop.Screenshot(shown, window)) << "import (Debian package imagemagick)";
    EXPECT_EQ(RunToEnd(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--screenshot"), drawn}, busEnvironment), 0);
    const qsizetype differing = Differing(QImage(shown), QImage(drawn));
    EXPECT_GE(differing, 0) << "the pictures differ in size";
    EXPECT_LE(differing, kCaretPixels) << "the screen shows something else than the document: see "
                                       << folder.path().toStdString();
  }

  int pictures = 0;
};

// penlark-demo's transfer, through Penlark's real windows offscreen, into the letter window
// shown on the display.
TEST_F(StandinWindows, TheLetterWindowShowsATransferAsItHappens) {
  StartOrganizer();
  StartWord(sampleLetter);
  const QString window = Window(kLetterWindow);
  ASSERT_FALSE(window.isEmpty());
  WriteSampleConfiguration();
  QProcessEnvironment offscreen = bus.Environment();
  offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QString said;
  ASSERT_EQ(RunToEnd(QStringLiteral(PENLARK_DEMO_BIN),
                     {"--dir", folder.path(), "--pictures", folder.path(), "--search", "Hartley", "--pick", "2",
                      "--profile", "Business Letter"},
                     offscreen, &said),
            0)
      << said.toStdString();
  EXPECT_FALSE(said.contains(QStringLiteral("propagateSizeHints"))) << said.toStdString();
  ASSERT_TRUE(Letter().contains(QStringLiteral("Dear Dr Hartley,")));
  ExpectScreenShowsTheDocument(window, bus.Environment());
}

// scripts/demo as it stands, from a copy of the repository whose build step is left out:
// the programs are the ones built here. It ends when the letter window closes or on Ctrl-C.
TEST_F(StandinWindows, TheDemoKeepsTheFilledLetterInViewUntilItsWindowCloses) {
  const QString repository = Path("repository");
  ASSERT_TRUE(QDir().mkpath(repository + QStringLiteral("/scripts")) && QDir().mkpath(repository + QStringLiteral("/samples")));
  for (const char* name : {"scripts/demo", "scripts/demo-lib.sh", "samples/addresses.json", "samples/letter.txt",
                           "samples/PENLARK.INI"})
    ASSERT_TRUE(QFile::copy(Source(QLatin1String(name)), repository + u'/' + QLatin1String(name))) << name;
  const QString build = repository + QStringLiteral("/scripts/build");
  ASSERT_TRUE(PutBytes(build, "#!/bin/sh\nexit 0\n"));
  ASSERT_TRUE(QFile::setPermissions(build, QFile::permissions(build) | QFile::ExeOwner));

  for (const int status : {0, 130}) {
    SCOPED_TRACE(status ? "Ctrl-C" : "closing the letter window");
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

    const QString main = Window(QStringLiteral("Penlark"));
    ASSERT_FALSE(main.isEmpty()) << demo.readAll().toStdString();
    ASSERT_TRUE(desktop.Focus(main) && desktop.Type(QStringLiteral("Hartley")));
    ASSERT_TRUE(desktop.Keys({"Return", "Down", "Down", "Return"}));
    ASSERT_TRUE(desktop.WaitWindowGone(QStringLiteral("Penlark")));

    // Penlark has ended; the demo says the letter stays, and it does, filled, on screen.
    QString output;
    Desktop::Eventually([&] {
      demo.waitForReadyRead(100);
      return (output += QString::fromLocal8Bit(demo.readAll())).contains(QStringLiteral("Ctrl-C"));
    });
    EXPECT_TRUE(output.contains(QStringLiteral("the letter stays open in penlark-word"))) << output.toStdString();
    const QRegularExpressionMatch address =
        QRegularExpression(QStringLiteral("private session bus at (\\S+)")).match(output);
    ASSERT_TRUE(address.hasMatch()) << output.toStdString();
    QProcessEnvironment demoBus = QProcessEnvironment::systemEnvironment();
    demoBus.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address.captured(1));
    EXPECT_FALSE(demo.waitForFinished(1000)) << output.toStdString();
    const QString letter = Window(kLetterWindow);
    ASSERT_FALSE(letter.isEmpty());
    EXPECT_TRUE(Letter(demoBus).contains(QStringLiteral("Dear Dr Hartley,")));
    ExpectScreenShowsTheDocument(letter, demoBus);

    if (status == 0) ASSERT_TRUE(desktop.Focus(letter) && desktop.Keys({"alt+F4"}));  // the window manager's close
    else ::kill(group, SIGINT);
    ASSERT_TRUE(demo.waitForFinished(10000));
    EXPECT_EQ(demo.exitCode(), status) << demo.readAll().toStdString();
    EXPECT_TRUE(desktop.WaitWindowGone(kLetterWindow));
    // Everything it started has gone with it, its bus too.
    EXPECT_NE(RunToEnd(QStringLiteral("dbus-send"),
                       {"--session", "--dest=org.freedesktop.DBus", "--print-reply", "/", "org.freedesktop.DBus.GetId"},
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
    ASSERT_EQ(RunToEnd(QStringLiteral(PENLARK_CMAKE), {"--install", BuildDir(), "--prefix", prefix.path()},
                       QProcessEnvironment::systemEnvironment(), &log),
              0)
        << log.toStdString();
  }

  // Starts the entry's Exec line on the display; %f and %F become files.
  QProcess* Launch(const QString& entry, const QStringList& files) {
    const QString path = prefix.path() + QStringLiteral("/" PENLARK_INSTALL_DATADIR "/applications/") + entry;
    EXPECT_EQ(DesktopValue(path, QStringLiteral("Terminal")), QStringLiteral("false"));
    QStringList command;
    for (const QString& word : DesktopValue(path, QStringLiteral("Exec")).split(u' ', Qt::SkipEmptyParts))
      command << (word == QLatin1String("%f") ? files.mid(0, 1) : word == QLatin1String("%F") ? files : QStringList{word});
    QProcessEnvironment environment = desktop.On(bus.Environment());
    const QString bin = prefix.path() + QStringLiteral("/" PENLARK_INSTALL_BINDIR);
    environment.insert(QStringLiteral("PATH"), bin + u':' + environment.value(QStringLiteral("PATH")));
    QProcess* process = launched.emplace_back(std::make_unique<QProcess>()).get();
    process->setProcessEnvironment(environment);
    process->setStandardInputFile(QProcess::nullDevice());
    EndWithTest(*process);
    const QString program = QStandardPaths::findExecutable(command.takeFirst(), {bin});
    process->start(program, command);
    EXPECT_TRUE(process->waitForStarted(5000)) << program.toStdString();
    return process;
  }

  QTemporaryDir prefix;
  std::vector<std::unique_ptr<QProcess>> launched;
};

// The address book opened on a contacts file shows what it serves and quits; the word
// processor opens a letter from its File menu, then by Open With (the file given to the
// Exec line).
TEST_F(InstalledWindows, TheAddressBookAndTheWordProcessorStartFromTheirEntries) {
  QProcess* organizer = Launch(QStringLiteral("org.penlark.Organizer.desktop"), {Path("addresses.json")});
  const QString window = Window(QStringLiteral("addresses.json - Penlark Address Book"));
  ASSERT_FALSE(window.isEmpty()) << organizer->readAllStandardError().toStdString();
  EXPECT_TRUE(bus.HasName(kOrganizerName));

  // A second copy cannot serve: it says so in a box, as nobody reads its stderr.
  QProcess* second = Launch(QStringLiteral("org.penlark.Organizer.desktop"), {Path("addresses.json")});
  ASSERT_FALSE(Window(QStringLiteral("Penlark Address Book")).isEmpty());
  ASSERT_TRUE(desktop.Keys({"Return"}));
  ASSERT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(second->exitCode(), 1);

  ASSERT_TRUE(desktop.Focus(window) && desktop.Keys({"alt+q"}));
  ASSERT_TRUE(organizer->waitForFinished(10000)) << Titles();
  EXPECT_EQ(organizer->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(organizer->exitCode(), 0);
  EXPECT_TRUE(bus.WaitNameGone(kOrganizerName));

  ASSERT_TRUE(PutBytes(Path("letter.txt"), sampleLetter.toUtf8()));
  for (const QStringList& files : {QStringList{}, QStringList{Path("letter.txt")}}) {
    SCOPED_TRACE(files.isEmpty() ? "File menu" : "Open With");
    QProcess* word = Launch(QStringLiteral("org.penlark.Word.desktop"), files);
    if (files.isEmpty()) {
      const QString empty = Window(QStringLiteral("penlark-word"));
      ASSERT_FALSE(empty.isEmpty());
      ASSERT_TRUE(desktop.Focus(empty) && desktop.Keys({"ctrl+o"}));
      ASSERT_FALSE(Window(QStringLiteral("Open Letter")).isEmpty());
      ASSERT_TRUE(desktop.Type(Path("letter.txt")) && desktop.Keys({"Return"}));
    }
    const QString opened = Window(kLetterWindow);
    ASSERT_FALSE(opened.isEmpty());
    EXPECT_EQ(Letter().toStdString(), Filled(sampleLetter, {}, {}, {}).toStdString());  // the bookmarks empty
    ExpectScreenShowsTheDocument(opened, bus.Environment());
    word->terminate();
    word->waitForFinished(5000);
  }
}

}  // namespace
