// penlark-demo --dir DIR --pictures DIR --search TEXT [--company] [--pick N] [--profile NAME]
//
// Penlark as a person meets it, without a person: the main window loads the PENLARK.INI in
// --dir, the Options dialog and the profile editor are opened and closed, the address book
// is searched, the entry at row --pick is chosen and sent with Finished. Each window is
// pictured into --pictures as it stands. The address book and the word processor must be
// running on the session bus; nothing here starts them.
//
// The desktop is the scripted one: a message box would be recorded instead of waiting for a
// person, and any box at all fails the run, since none belongs to this path.
// Exit codes: 0 when the transfer finished and the program ended; 1 otherwise; 2 for bad
// arguments.

#include "shared/ProgramValues.h"
#include "app/frmPenlark.h"
#include "scripted/ScriptedDesktopServices.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QListWidget>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>

#include <cstdio>
#include <stdexcept>

namespace {

struct Settings {
  QString dir;
  QString pictures;
  QString search;
  bool company = false;
  int pick = 0;
  QString profile;
};

void Say(const QString& line) { std::printf("penlark-demo: %s\n", qUtf8Printable(line)); }

bool Picture(QWidget& window, const Settings& settings, const QString& name) {
  QApplication::processEvents();
  const QString path = QDir(settings.pictures).filePath(name + QStringLiteral(".png"));
  if (!window.grab().save(path, "PNG")) {
    Say(QStringLiteral("cannot write %1").arg(path));
    return false;
  }
  Say(QStringLiteral("pictured %1").arg(path));
  return true;
}

std::optional<Settings> Parse(const QStringList& arguments) {
  QCommandLineParser parser;
  const QCommandLineOption dir(QStringLiteral("dir"), QStringLiteral("the folder of PENLARK.INI"), QStringLiteral("DIR"));
  const QCommandLineOption pictures(QStringLiteral("pictures"), QStringLiteral("where the pictures go"), QStringLiteral("DIR"));
  const QCommandLineOption search(QStringLiteral("search"), QStringLiteral("the text searched for"), QStringLiteral("TEXT"));
  const QCommandLineOption company(QStringLiteral("company"), QStringLiteral("search by company, not surname"));
  const QCommandLineOption pick(QStringLiteral("pick"), QStringLiteral("the row of the result list sent"), QStringLiteral("N"), QStringLiteral("0"));
  const QCommandLineOption profile(QStringLiteral("profile"), QStringLiteral("the Address Profile used"), QStringLiteral("NAME"));
  parser.addOptions({dir, pictures, search, company, pick, profile});
  bool pickIsNumber = false;
  if (!parser.parse(arguments) || !parser.isSet(dir) || !parser.isSet(pictures) || !parser.isSet(search))
    return std::nullopt;
  Settings settings{parser.value(dir), parser.value(pictures), parser.value(search), parser.isSet(company),
                    parser.value(pick).toInt(&pickIsNumber), parser.value(profile)};
  if (!pickIsNumber || settings.pick < 0) return std::nullopt;
  return settings;
}

// Every step that fails says why and makes the run fail; the run goes on to the end only
// along the path a person takes when all is well.
int Run(const Settings& settings) {
  ScriptedDesktopServices desktop;
  ProgramValues pv(desktop);
  frmPenlark form(pv);
  form.resize(form.sizeHint());
  bool pictured = true;

  form.Form_Load(QDir(settings.dir).absolutePath());
  if (form.cboAddressProfile->count() == 0 || pv.OrganizerFilePath.isEmpty()) {
    Say(QStringLiteral("PENLARK.INI gave no data file or no profile"));
    return 1;
  }

  desktop.OnForm(QStringLiteral("frmOptions"), [&](QDialog& options) {
    pictured = Picture(options, settings, QStringLiteral("options")) && pictured;
  });
  form.mnuOptions_Click();
  desktop.OnForm(QStringLiteral("frmProfiles"), [&](QDialog& editor) {
    pictured = Picture(editor, settings, QStringLiteral("profile-editor")) && pictured;
  });
  form.cmdProfile_Click();

  (settings.company ? form.optCompany : form.optSurname)->setChecked(true);
  form.txtSearchItem->setText(settings.search);
  form.cmdSearch_Click();
  Say(QStringLiteral("%1 listed %2 entries").arg(settings.search).arg(form.lstAddressee->count()));
  if (settings.pick >= form.lstAddressee->count()) {
    Say(QStringLiteral("no entry at row %1").arg(settings.pick));
    return 1;
  }
  form.lstAddressee->setCurrentRow(settings.pick);
  if (!settings.profile.isEmpty()) {
    const int index = form.cboAddressProfile->findText(settings.profile);
    if (index < 0) {
      Say(QStringLiteral("no Address Profile \"%1\"").arg(settings.profile));
      return 1;
    }
    form.cboAddressProfile->setCurrentIndex(index);
  }
  Say(QStringLiteral("sending \"%1\" through \"%2\"")
          .arg(form.lstAddressee->currentItem()->text(), form.cboAddressProfile->currentText()));
  pictured = Picture(form, settings, QStringLiteral("main-window")) && pictured;

  bool ended = false;
  try {
    form.cmdFinished_Click();
  } catch (const ProgramEnded&) {
    ended = true;  // Finished ends the program once the letter is filled
  }
  for (const ScriptedDesktopServices::Box& box : desktop.boxes)
    Say(QStringLiteral("message box \"%1\": %2").arg(box.title, box.text));
  if (!ended) Say(QStringLiteral("the transfer did not finish"));
  return ended && desktop.boxes.empty() && pictured ? 0 : 1;
}

QtMessageHandler qtHandler = nullptr;

// The offscreen platform warns each time a window's size limits change, which tells a
// person nothing here: that one warning is dropped, every other message passes on.
void DropOffscreenSizeHints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message == QLatin1String("This plugin does not support propagateSizeHints()"))
    return;
  qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtHandler = qInstallMessageHandler(DropOffscreenSizeHints);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Penlark"));
  const std::optional<Settings> settings = Parse(QApplication::arguments());
  if (!settings) {
    std::fprintf(stderr, "usage: penlark-demo --dir DIR --pictures DIR --search TEXT [--company] [--pick N] [--profile NAME]\n");
    return 2;
  }
  try {
    return Run(*settings);
  } catch (const std::exception& error) {  // a question no script answers, and the like
    Say(QStringLiteral("stopped: %1").arg(QString::fromUtf8(error.what())));
    return 1;
  }
}
