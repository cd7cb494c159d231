#pragma once

// The real program with real windows on a display of its own, the real stand-ins on a
// private bus, the sample address book, letter and PENLARK.INI, and a person at the
// keyboard.

#include "Desktop.h"

#include "ChildProcesses.h"
#include "PrivateBus.h"
#include "support/Shown.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

inline const QString kMainWindow = QStringLiteral("Penlark");
inline const QString kOrganizerName = QStringLiteral("org.penlark.dde.Organize200");
inline const QString kWordName = QStringLiteral("org.penlark.window.OpusApp");

inline QString Sample(const char* name) { return QStringLiteral(PENLARK_SAMPLES "/") + QLatin1String(name); }

// The sample letter as the given fills leave it: each bookmark's text goes where the
// bookmark stands, and a bookmark without a fill vanishes from the printed text.
inline QString Filled(const QString& letter, const QString& address, const QString& reference,
                      const QString& salutation) {
  QString text = letter;
  text.replace(QStringLiteral("[[Address]]"), address);
  text.replace(QStringLiteral("[[Reference]]"), reference);
  text.replace(QStringLiteral("[[Salutation]]"), salutation);
  return text;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
    ASSERT_TRUE(desktop.ok()) << desktop.error().toStdString();
    ASSERT_TRUE(desktop.StartWindowManager()) << desktop.error().toStdString();
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
  // The letter as the word processor on that bus prints it.
  QString Letter(const QProcessEnvironment& on = {}) {
    QString text;
    EXPECT_EQ(RunToEnd(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--print-text")},
                       on.isEmpty() ? bus.Environment() : on, &text),
              0);
    return text;
  }

  // Starts Penlark as a person does and puts the keyboard on the first window it shows.
  void StartPenlark(const QString& firstWindow = kMainWindow) {
    QProcessEnvironment environment = desktop.On(bus.Environment());
    if (reportFocus) environment.insert(QStringLiteral("PENLARK_REPORT_FOCUS"), QStringLiteral("1"));
    // A home of its own, so what the program leaves in a person's home is seen here.
    QDir(folder.path()).mkpath(QStringLiteral("home"));
    environment.insert(QStringLiteral("HOME"), Path("home"));
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    penlark.setProcessEnvironment(environment);
    penlark.setWorkingDirectory(folder.path());
    EndWithTest(penlark);
    penlark.start(Path("penlark"), {});
    ASSERT_TRUE(penlark.waitForStarted(5000));
    if (firstWindow == kMainWindow) BackToMainWindow();
    else ASSERT_FALSE(Window(firstWindow).isEmpty());
  }
  // The keyboard on the main window again, as a person clicks it after a box.
  void BackToMainWindow() { ASSERT_TRUE(desktop.Focus(Window(kMainWindow))); }
  std::string Titles() const { return "shown: " + desktop.Titles().join(u',').toStdString(); }
  // The id of the window of that title, once it is shown; "" (a failure) when it is not.
  QString Window(const QString& title) const {
    const QString window = desktop.WaitForWindow(title);
    EXPECT_FALSE(window.isEmpty()) << "no window \"" << title.toStdString() << "\"; " << Titles();
    return window;
  }
  void Type(const QString& text) { ASSERT_TRUE(desktop.Type(text)); }
  void Keys(const QStringList& keys) { ASSERT_TRUE(desktop.Keys(keys)); }
  // xdotool key names, blank-separated; text after "type:" is typed.
  void Press(const QString& keys) {
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts))
      key.startsWith(u"type:") ? Type(key.mid(5)) : Keys({key});
  }
  // Waits for a message box of that title and answers it with Enter.
  void AnswerBox(const QString& title) {
    ASSERT_FALSE(Window(title).isEmpty());
    // The window manager gives a new box the focus a moment after it is shown.
    ASSERT_TRUE(Desktop::Eventually([&] { return desktop.FocusedTitle() == title; }, 5000))
        << "focus in " << desktop.FocusedTitle().toStdString();
    Keys({QStringLiteral("Return")});
    ASSERT_TRUE(desktop.WaitWindowGone(title));
  }
  void ExpectEndedCleanly() {
    ASSERT_TRUE(penlark.waitForFinished(10000)) << Titles();
    EXPECT_EQ(penlark.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(penlark.exitCode(), 0) << penlark.readAllStandardError().toStdString();
  }

  bool reportFocus = false;  // penlark writes each focus move to its standard output
  QTemporaryDir folder;  // the program's folder: penlark, PENLARK.INI, the address book
  PrivateBus bus;
  Desktop desktop;
  QProcess penlark;
  QProcess* organizer = nullptr;
  const QString sampleLetter = QString::fromUtf8(ReadBytes(Sample("letter.txt")));
};
