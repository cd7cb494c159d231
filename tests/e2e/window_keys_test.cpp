// Each window of the real penlark under a window manager, driven by real keys and clicks.
// penlark reports each move of the keyboard focus on its standard output
// (PENLARK_REPORT_FOCUS), so a row names the control a person would see the focus in.
// One table per window; a row is keys pressed, then the window and control expected to
// have the focus ("" for a window that must have closed).

#include "EndToEnd.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QThread>

#include <string_view>

namespace {

const QString kEditor = QStringLiteral("Address Profile");
const QString kNewName = QStringLiteral("Address Profile Name");
const QString kAbout = QStringLiteral("About Penlark");
const QString kOptions = QStringLiteral("Options");
const QString kInvalid = QStringLiteral("Invalid Name");
const QString kConfirm = QStringLiteral("Confirm Address Profile Delete");

// One step of a table: the keys pressed in turn, then where the focus must be.
struct Row {
  // xdotool key names, blank-separated; text after "type:" is typed, "menu:a" picks a File
  // menu entry, "click:cmdOK" clicks a control of the window of the row before.
  QString keys;
  QString window;
  QString control;
};

class PenlarkWindows : public EndToEnd {
 protected:
  void SetUp() override {
    EndToEnd::SetUp();
    if (HasFatalFailure()) return;
    reportFocus = true;
    WriteSampleConfiguration();
    StartOrganizer();
    if (!startsWithTheProgram) return;
    StartWord(sampleLetter);
    StartPenlark();
    desktop.Bells();  // from here on
  }

  // Takes in what penlark has reported so far.
  void Read() {
    penlark.waitForReadyRead(0);  // what is in the pipe, not only what was taken in
    while (penlark.canReadLine()) {
      const QStringList part = QString::fromUtf8(penlark.readLine()).chopped(1).split(u'\t');
      if (part.size() == 3 && part[0] == u"focus") {
        focus = part[1] + u'|' + part[2];
      } else if (part.size() == 4 && part[0] == u"place") {
        const QStringList r = part[3].split(u' ');
        places[part[1] + u'|' + part[2]] = QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
      }
    }
  }
  ::testing::AssertionResult FocusIs(const QString& window, const QString& control) {
    const QString expected = window + u'|' + control;
    Desktop::Eventually([&] { return Read(), focus == expected || penlark.state() == QProcess::NotRunning; }, 5000);
    if (focus == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "focus in " << focus.toStdString() << ", not " << expected.toStdString()
                                         << "; " << Titles();
  }
  // Presses each row's keys and checks where the focus went; a row without a window
  // expects the window of the row before to have closed.
  void Run(const QList<Row>& table) {
    if (HasFatalFailure()) return;  // the rows after a failed one say nothing
    QString last = kMainWindow;
    for (const Row& row : table) {
      SCOPED_TRACE(("keys \"" + row.keys + "\" -> " + row.window + "|" + row.control).toStdString());
      Read();
      const QString before = focus;
      for (const QString& key : row.keys.split(u' ', Qt::SkipEmptyParts)) {
        if (key.startsWith(u"menu:")) Menu(key.mid(5));
        else if (key.startsWith(u"click:")) Click(last, key.mid(6));
        else Press(key);
      }
      // Where nothing may happen, give it the time to happen wrongly.
      if (row.window + u'|' + row.control == before) {
        QDeadlineTimer settle(300);
        while (!settle.hasExpired()) penlark.waitForReadyRead(int(settle.remainingTime()));
      }
      if (row.window.isEmpty()) {
        EXPECT_TRUE(desktop.WaitWindowGone(last)) << last.toStdString() << " still open";
        continue;
      }
      ASSERT_TRUE(FocusIs(row.window, row.control));
      last = row.window;
    }
  }
  // Tab through the whole order (blank-separated) and back with Shift+Tab, starting on its
  // first control.
  void Walk(const QString& window, const QString& controls) {
    if (HasFatalFailure()) return;  // the rows after a failed one say nothing
    const QStringList order = controls.split(u' ');
    ASSERT_TRUE(FocusIs(window, order.front()));
    for (qsizetype i = 1; i <= order.size(); ++i) {
      SCOPED_TRACE(("Tab " + QString::number(i)).toStdString());
      Keys({QStringLiteral("Tab")});
      ASSERT_TRUE(FocusIs(window, order[i % order.size()]));
    }
    for (qsizetype i = order.size() - 1; i >= 0; --i) {
      SCOPED_TRACE(("shift+Tab to " + order[i]).toStdString());
      Keys({QStringLiteral("shift+Tab")});
      ASSERT_TRUE(FocusIs(window, order[i]));
    }
  }
  // Clicks the middle of a control.
  void Click(const QString& window, const QString& control) {
    Read();
    const QRect place = places.value(window + u'|' + control);
    ASSERT_FALSE(place.isEmpty()) << "no place for " << control.toStdString();
    const QString id = desktop.WaitForWindow(window);
    ASSERT_FALSE(id.isEmpty());
    ASSERT_TRUE(desktop.Mouse(id, place.center().x(), place.center().y(), 1));
  }
  // The window as the person sees it, cut to one control when one is named. With
  // PENLARK_E2E_SHOTS set, also kept there as <name>.png.
  QImage Picture(const QString& name, const QString& window = {}, const QString& control = {}) {
    const QString path = qEnvironmentVariable("PENLARK_E2E_SHOTS", folder.path()) + u'/' + name + QStringLiteral(".png");
    EXPECT_TRUE(desktop.Screenshot(path, window.isEmpty() ? QStringLiteral("root") : desktop.WaitForWindow(window)));
    const QImage shot(path);
    return control.isEmpty() ? shot : shot.copy(places.value(window + u'|' + control));
  }
  // The beeps since the last look are n, waiting for late ones.
  void ExpectBells(int n) {
    int bells = 0;
    Desktop::Eventually([&] { return (bells += desktop.Bells()) > n || (n > 0 && bells == n); }, n > 0 ? 3000 : 300);
    EXPECT_EQ(bells, n) << "beeps";
  }
  // Opens the File menu with the mouse (Alt+F is also "Search &For:") and presses the
  // entry's access key: "p" the profile editor, "o" Options, "a" About.
  void Menu(const QString& entry) {
    ASSERT_TRUE(desktop.Mouse(desktop.WaitForWindow(kMainWindow), 18, 10, 1));
    QThread::msleep(500);  // a menu takes the keys without taking the focus, so no report
    Keys({entry});
  }

  bool startsWithTheProgram = true;  // the word processor and penlark started by SetUp
  QString focus;
  QHash<QString, QRect> places;
};

// The window's own order (the disabled list and buttons are skipped until a search fills
// the list), its access keys, Enter and Esc, and the profile box that takes no typing.
TEST_F(PenlarkWindows, MainWindow) {
  ASSERT_TRUE(FocusIs(kMainWindow, QStringLiteral("txtSearchItem")));
  Press("type:Hartley Return");
  // A profile chosen with the arrow key; then keys that would edit its name change nothing,
  // and only character keys beep.
  Run({{"Tab Down shift+Tab", kMainWindow, "lstAddressee"}});
  const QImage chosen = Picture(QStringLiteral("main-profile-chosen"), kMainWindow, QStringLiteral("cboAddressProfile"));
  Run({{"Tab Delete BackSpace ctrl+x ctrl+v Escape", kMainWindow, "cboAddressProfile"}});
  ExpectBells(0);
  Run({{"x Return", kMainWindow, "cboAddressProfile"}});
  ExpectBells(2);
  Run({{"shift+Tab", kMainWindow, "lstAddressee"}});
  EXPECT_EQ(Picture(QStringLiteral("main-profile-kept"), kMainWindow, QStringLiteral("cboAddressProfile")), chosen);
  Walk(kMainWindow,
       "lstAddressee cboAddressProfile cmdProfile cmdFinished cmdMore cmdExit optSurname txtSearchItem cmdSearch");
  Run({
      {"Tab Tab", kMainWindow, "cmdProfile"},
      {"alt+u", kMainWindow, "optSurname"},
      {"alt+p", kMainWindow, "cboAddressProfile"},
      {"shift+Tab shift+Tab shift+Tab", kMainWindow, "txtSearchItem"},
      {"Escape", kMainWindow, "txtSearchItem"},
      {"Return", kMainWindow, "lstAddressee"},  // Enter searches
      {"Tab Tab Return", kEditor, "cboProfileName"},  // Enter on Profiles...
      {"alt+c", kMainWindow, "cmdProfile"},
      {"menu:o", kOptions, "txtFilePath"},
      {"Escape", kMainWindow, "cmdProfile"},
      // Enter on More; the dialogs emptied the profile box, so the transfer fails and puts
      // the focus there, and Tab leaves it again.
      {"Tab Tab Return", QStringLiteral("Blank Address Profile"), "button:OK"},
      {"Return", kMainWindow, "cboAddressProfile"},
      {"Down Tab", kMainWindow, "cmdProfile"},
      {"Tab Tab Return", kMainWindow, "txtSearchItem"},  // now More transfers and stays
      {"Tab Return", kMainWindow, "lstAddressee"},       // Enter on Search
      {"alt+e", "", ""},
  });
  ExpectEndedCleanly();
}

// A message shown while work is under way shows the hourglass that the work set, as the
// rest of the program does, not an arrow of its own. The arrow is what the bare desktop
// shows; the theme's hourglass may be animated, so only "not the arrow" is compared.
class PenlarkPointer : public PenlarkWindows {
 protected:
  PenlarkPointer() { startsWithTheProgram = false; }

  QByteArray PointerOver(const QString& window, QPoint at, const QByteArray& arrow) {
    EXPECT_TRUE(desktop.Mouse(window.isEmpty() ? QString() : desktop.WaitForWindow(window), at.x(), at.y(), 0));
    QByteArray shown;
    Desktop::Eventually([&] { return (shown = desktop.PointerImage()) != arrow; }, 2000);
    return shown;
  }
  void ExpectTheHourglassOver(const QString& title) {
    ASSERT_TRUE(FocusIs(title, QStringLiteral("button:OK")));
    Read();
    const QByteArray arrow = PointerOver({}, QPoint(1000, 750), {});
    ASSERT_FALSE(arrow.isEmpty());
    EXPECT_TRUE(PointerOver(kMainWindow, QPoint(20, 60), arrow) != arrow)
        << "no hourglass over the main window while \"" << title.toStdString() << "\" is open";
    const QPoint text = places.value(title + QStringLiteral("|qt_msgbox_label")).center();
    EXPECT_TRUE(PointerOver(title, text, arrow) != arrow) << "\"" << title.toStdString() << "\" shows an arrow";
    AnswerBox(title);
  }
};

TEST_F(PenlarkPointer, AMessageBoxShowsThePointerThatIsSet) {
  // Start-up looking for the word processor, which is not running: the box, then the end.
  StartPenlark(QStringLiteral("Microsoft Word Not Running"));
  ExpectTheHourglassOver(QStringLiteral("Microsoft Word Not Running"));
  ExpectEndedCleanly();
  // A search that finds nobody.
  focus.clear();
  places.clear();
  StartWord(sampleLetter);
  StartPenlark();
  ASSERT_TRUE(FocusIs(kMainWindow, QStringLiteral("txtSearchItem")));
  Press("type:Nobody Return");
  ExpectTheHourglassOver(QStringLiteral("Name not found"));
  ASSERT_TRUE(FocusIs(kMainWindow, QStringLiteral("txtSearchItem")));
}

TEST_F(PenlarkWindows, ProfileEditor) {
  QString order = QStringLiteral("cboProfileName");
  for (int row = 0; row < 12; ++row) order += QStringLiteral(" txtBookmark_%1 cboField_%1").arg(row);
  order += QStringLiteral(" cmdNew cmdDelete cmdOK cmdCancel");
  for (int row = 0; row < 12; ++row) order += QStringLiteral(" txtSeparator_%1").arg(row);
  Run({{"menu:p", kEditor, "cboProfileName"}});
  Walk(kEditor, order);
  Picture(QStringLiteral("profile-editor"));
  const QByteArray before = ReadBytes(Path("PENLARK.INI"));
  // A refused bookmark is reported however the person leaves the box or presses a
  // button, and the focus comes back to it; Cancel alone leaves without a check.
  Run({
      {"Tab ctrl+a type:Mark1", kEditor, "txtBookmark_0"},
      {"Tab", kInvalid, "button:OK"},
      {"Return", kEditor, "txtBookmark_0"},
      {"alt+o", kInvalid, "button:OK"},
      {"Return", kEditor, "txtBookmark_0"},
      {"alt+d", kInvalid, "button:OK"},
      {"Return", kEditor, "txtBookmark_0"},
      {"Return Escape", kEditor, "txtBookmark_0"},
      {"click:cmdOK", kInvalid, "button:OK"},
      {"Return", kEditor, "txtBookmark_0"},
  });
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), before);
  Run({
      {"ctrl+a type:Salutation Tab", kEditor, "cboField_0"},
      {"x Return Escape", kEditor, "cboField_0"},  // the field box takes no typing
      {"alt+d", kConfirm, "button:No"},
      {"Return", kEditor, "cboField_0"},
      {"alt+n", kNewName, "txtNewProfileName"},
      {"alt+c", kEditor, "cboField_0"},
      {"alt+c", kMainWindow, "txtSearchItem"},
  });
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), before);
  Run({
      {"menu:p", kEditor, "cboProfileName"},
      {"Tab ctrl+a type:Mark1", kEditor, "txtBookmark_0"},
      {"click:cmdCancel", kMainWindow, "txtSearchItem"},
      // Enter on a focused button presses it; Enter in a box did nothing above.
      {"menu:p", kEditor, "cboProfileName"},
      {QStringLiteral("shift+Tab ").repeated(16), kEditor, "cmdNew"},
      {"Return", kNewName, "txtNewProfileName"},
      {"alt+c", kEditor, "cmdNew"},
      {"Tab Tab Tab Return", kMainWindow, "txtSearchItem"},
      // The new-name window.
      {"menu:p", kEditor, "cboProfileName"},
      {"alt+n", kNewName, "txtNewProfileName"},
  });
  Walk(kNewName, "txtNewProfileName cmdOK cmdCancel");
  Picture(QStringLiteral("new-name"));
  Run({
      {"Escape", kNewName, "txtNewProfileName"},  // no cancel button: Esc does nothing
      {"Return", kInvalid, "button:OK"},          // Enter presses OK: a blank name
      {"Return", kNewName, "txtNewProfileName"},
      {"type:Fresh Tab Tab", kNewName, "cmdCancel"},
      {"Return", kEditor, "cboProfileName"},  // Enter on Cancel cancels
      // Still browsing the stored profile: Delete asks about it.
      {"alt+d", kConfirm, "button:No"},
      {"Return", kEditor, "cboProfileName"},
      {"alt+n alt+n type:Fresh Tab space", kEditor, "txtBookmark_0"},  // OK by the space bar
  });
  // New reads Save now, and its access key checks the bookmark first too.
  Run({
      {"type:Mark1 alt+s", kInvalid, "button:OK"},
      {"Return", kEditor, "txtBookmark_0"},
      {"ctrl+a type:Opening Tab Down alt+s", kEditor, "cboField_0"},
      {"alt+c", kMainWindow, "txtSearchItem"},
  });
  EXPECT_NE(ReadBytes(Path("PENLARK.INI")).indexOf("=Fresh"), -1);
  // A good bookmark, and a separator typed with Enter, the space bar, Ctrl+Tab and AltGr on
  // a German keyboard, saved by the access key.
  Run({{"menu:p", kEditor, "cboProfileName"}});
  QProcess layout;
  layout.setProcessEnvironment(desktop.On(QProcessEnvironment::systemEnvironment()));
  layout.start(QStringLiteral("setxkbmap"), {QStringLiteral("de")});
  ASSERT_TRUE(layout.waitForFinished(10000) && layout.exitCode() == 0) << "setxkbmap (Debian package x11-xkb-utils)";
  Run({
      {"Tab ctrl+a type:Greeting", kEditor, "txtBookmark_0"},
      {"alt+s", kEditor, "txtBookmark_0"},  // Alt with a letter no access key takes types nothing
      {"shift+Tab shift+Tab ctrl+a Delete Return space ctrl+Tab ISO_Level3_Shift+q", kEditor, "txtSeparator_11"},
      {"alt+o", kMainWindow, "txtSearchItem"},
  });
  QList<QByteArray> saved = ReadBytes(Path("PENLARK.INI")).split('\n');
  for (QByteArray& line : saved) line = line.trimmed();
  EXPECT_TRUE(saved.contains("Bookmark 0=Greeting")) << saved.join('\n').toStdString();
  EXPECT_TRUE(saved.contains("Separator 11=\u00b6_\u00bb@")) << saved.join('\n').toStdString();
  // With every profile deleted (the three stored and Fresh) there is no name to choose: the
  // name box holds no one in, New gives a name, and OK still refuses to store a blank one.
  Run({{"menu:p", kEditor, "cboProfileName"}});
  for (int left = 3; left > 0; --left) Run({{"alt+d", kConfirm, "button:No"}, {"alt+y", kEditor, "cboProfileName"}});
  Run({
      {"alt+d", kConfirm, "button:No"},
      {"alt+y", kNewName, "txtNewProfileName"},  // the last one gone, a name is asked for
      {"alt+c", kEditor, "cboProfileName"},
      {"Tab", kEditor, "txtBookmark_0"},
      {"shift+Tab alt+o", kInvalid, "button:OK"},
      {"Return", kEditor, "cboProfileName"},
      {"alt+n", kNewName, "txtNewProfileName"},
      {"type:Fresh Return", kEditor, "txtBookmark_0"},
      {"alt+c", kMainWindow, "txtSearchItem"},
  });
}

// The About box and Options from the File menu, each closed by a key of its own code and
// by an access key; Browse, and the main window's class.
TEST_F(PenlarkWindows, AboutOptionsAndBrowse) {
  // Docks and task switchers find the desktop entry by the main window's class.
  const QString wanted = QFileInfo(QStringLiteral(PENLARK_SOURCE_DIR "/data/org.penlark.Penlark.desktop")).completeBaseName();
  QString shown;
  ASSERT_EQ(RunToEnd(QStringLiteral("xprop"), {"-id", desktop.WaitForWindow(kMainWindow), "WM_CLASS"},
                     desktop.On(QProcessEnvironment::systemEnvironment()), &shown),
            0)
      << "xprop (Debian package x11-utils)";
  EXPECT_TRUE(shown.trimmed().endsWith(QStringLiteral(", \"") + wanted + u'"')) << shown.toStdString();  // instance, class

  Run({{"menu:a", kAbout, "txtWebURL"}});
  Walk(kAbout, "txtWebURL txtVersion cmdClose");
  Picture(QStringLiteral("about"));
  const QString dialog = QStringLiteral("Select Organizer Data File");
  const QByteArray before = ReadBytes(Path("PENLARK.INI"));
  Run({
      {"Escape Tab Tab Escape", kAbout, "cmdClose"},  // no cancel button: Esc does nothing
      {"Return", kMainWindow, "txtSearchItem"},        // Enter on Close
      {"menu:a", kAbout, "txtWebURL"},
      {"alt+c", kMainWindow, "txtSearchItem"},
      {"menu:o", kOptions, "txtFilePath"},
  });
  Walk(kOptions, "txtFilePath cmdBrowse txtAddressSection chkSkipBlankFields cmdOK cmdCancel");
  Run({
      {"alt+s", kOptions, "chkSkipBlankFields"},
      {"Escape", kMainWindow, "txtSearchItem"},  // at once after the access key
      {"menu:o", kOptions, "txtFilePath"},
      {"Return", kOptions, "txtFilePath"},  // Enter in a box presses nothing
      {"alt+b", dialog, "fileNameEdit"},
      {"Escape", kOptions, "txtFilePath"},  // the access key left the focus in the box
      {"Tab Tab Tab Tab Tab Return", kMainWindow, "txtSearchItem"},  // Enter on Cancel
  });
  EXPECT_EQ(ReadBytes(Path("PENLARK.INI")), before);
  Run({{"menu:o alt+s alt+o", kMainWindow, "txtSearchItem"}});
  EXPECT_NE(ReadBytes(Path("PENLARK.INI")).indexOf("Skip Blank Fields=0"), -1);

  // Browse opens the samples folder typed into its name box and lists the address books
  // first: its first entry by key is the JSON book, the next the vCard book, and each,
  // accepted, is what OK saves. No browse history is left in the person's home.
  const QString samples = QStringLiteral(PENLARK_SAMPLES);
  for (const char* entry : {"addresses.json", "addresses.vcf"}) {
    SCOPED_TRACE(entry);
    Run({
        {"menu:o alt+b", dialog, "fileNameEdit"},
        {"type:" + samples + " Return", dialog, "fileNameEdit"},
        {"shift+Tab", dialog, "treeView"},
        {entry == std::string_view("addresses.json") ? "End Home Return" : "Home Down Return", kOptions, "txtFilePath"},
        {"alt+o", kMainWindow, "txtSearchItem"},
    });
    EXPECT_NE(ReadBytes(Path("PENLARK.INI")).indexOf("Organizer File Path=" + (samples + u'/' + QLatin1String(entry)).toUtf8()),
              -1);
  }
  EXPECT_EQ(QDir(Path("home")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

// An address book that ended is reported once, by the search that met it; the next search
// looks for it afresh and says it is not there; started again, it is searched again, with
// no box.
TEST_F(PenlarkWindows, ARestartedAddressBookIsSearchedAgain) {
  const QString fatal = QStringLiteral("Fatal Error");
  ASSERT_TRUE(FocusIs(kMainWindow, QStringLiteral("txtSearchItem")));
  Run({{"type:Hartley Return", kMainWindow, "lstAddressee"}});
  bus.Stop(organizer);
  Run({{"shift+Tab", kMainWindow, "cmdSearch"}, {"Return", fatal, "button:OK"}, {"Return", kMainWindow, "cmdSearch"}});
  EXPECT_TRUE(desktop.WaitWindowGone(fatal));
  QThread::msleep(300);
  EXPECT_FALSE(desktop.Titles().contains(fatal)) << "a second box";
  Run({{"Return", QStringLiteral("Penlark Error"), "cmdOK"}, {"Return", kMainWindow, "cmdSearch"}});
  StartOrganizer();
  Run({{"Return", kMainWindow, "lstAddressee"}});  // the list filled, focus on it
  EXPECT_FALSE(desktop.Titles().contains(fatal));
  // A double-click on an entry chooses it, transfers that addressee and finishes, as Enter
  // does. The boxes emptied the profile box: a profile first, then the last entry by key.
  Run({{"alt+p Down shift+Tab End", kMainWindow, "lstAddressee"}});
  Read();
  const QRect list = places.value(kMainWindow + QStringLiteral("|lstAddressee"));
  ASSERT_TRUE(desktop.Mouse(desktop.WaitForWindow(kMainWindow), list.x() + 40, list.y() + 8, 2));  // the first
  ExpectEndedCleanly();
  const QString letter = Letter();
  EXPECT_NE(letter.indexOf(QStringLiteral("Alice Hartley")), -1) << letter.toStdString();
}

}  // namespace
