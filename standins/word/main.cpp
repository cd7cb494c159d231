// penlark-word: the stand-in word processor that Penlark writes letters into.
//
// What it plays: a running word processor with at most one document open, on the D-Bus
// session bus, never started by Penlark.
//   - Its main window is announced as window class "OpusApp" (bus name
//     WindowClassName("OpusApp"), object "/window", interface org.penlark.Window).
//   - --dialect word97 (the default): the running object of class "Word.Application.8"
//     (RunningObjectName, and its class factory ClassFactoryName): Application, Version
//     "8.0", ActiveDocument, Selection with GoTo (What -1, Name) and InsertAfter (Text).
//   - --dialect word6: the class "Word.Basic" (ClassFactoryName only): EditGoTo and Insert,
//     or with --language German BearbeitenGeheZu and Einfügen. word97 ignores --language.
//   The letter is UTF-8 text in which "[[Name]]" marks the bookmark Name.
// A person opens a letter with File > Open (or as LETTER, as the desktop entry does),
// in place of the document there was.
// What it leaves out: formatting, more documents, opening, saving or closing a document
// over the bus, any go-to but to a bookmark, and every other member of the object models.
// How it reports: the window shows the document and each change as it happens (a person
// can type into it too), the status line the last call. A refused call answers with the
// error "org.penlark.Automation.Error.E<number>", the description as its message:
//   438 unknown property or method (also the other language's command names)
//   448 unknown or repeated named argument, 449 argument missing, 450 too many arguments
//   5    GoTo with a What other than -1
//   4248 word97: ActiveDocument, Selection or a selection call with no document open
//   5101 word97: GoTo to a bookmark the document lacks
//   5003 word6: a command with no document open
//   440  word6: EditGoTo to a bookmark the document lacks; that dialect reports a failed
//        command as a failed automation call, which Penlark's 440 message covers ("Any
//        Bookmarks ... are present in the document").
// `penlark-word --print-text` prints the running instance's document text to standard
// output as it stands, each paragraph break as LF and each tab as a tab character, nothing
// added; `penlark-word --save-as FILE` writes the same text to FILE; `penlark-word
// --screenshot FILE` has the running instance save a PNG picture of its window there.
// Test-only switches: --end-after N answers N automation calls (property reads and
// method calls) and ends at the next one without answering it, as a crash would, first
// printing the document text as it stood to standard output; --stall-after N answers N
// calls and leaves every later one unanswered.
// Exit codes: 3 for --end-after; 0 after SIGTERM, SIGINT or the window's close button; 2 for bad arguments;
// 1 for anything else that stops it (no session bus, a bus name taken, a letter that
// cannot be read or is not UTF-8, no running instance to ask).

#include "AutomationTarget.h"
#include "CallFaults.h"
#include "LetterDocument.h"
#include "TerminationSignals.h"
#include "WordObjects.h"
#include "WordWindow.h"
#include "windowadaptor.h"
#include "wordstandinadaptor.h"

#include "AutomationContract.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

constexpr int kBadArguments = 2;
constexpr int kFailed = 1;

struct Options {
  bool word6 = false;
  bool german = false;
  std::optional<QString> letter;
  bool printText = false;
  std::optional<QString> saveAs;
  CallFaultCounts faults;
  std::optional<QString> screenshot;  // absolute: the running instance has its own working folder

  bool IsClient() const { return printText || saveAs || screenshot; }
};

void Complain(const QString& message) {
  std::fprintf(stderr, "penlark-word: %s\n", qUtf8Printable(message));
}

// Parsed before any application object exists, since the client calls need no display.
std::optional<Options> ParseArguments(const QStringList& arguments, QString* error) {
  QCommandLineParser parser;
  const QCommandLineOption dialect(QStringLiteral("dialect"), QStringLiteral("word97 or word6"),
                                   QStringLiteral("dialect"));
  const QCommandLineOption language(QStringLiteral("language"),
                                    QStringLiteral("English or German (word6; word97 has no command names to translate)"),
                                    QStringLiteral("language"));
  const QCommandLineOption printText(QStringLiteral("print-text"),
                                     QStringLiteral("print the running instance's document text"));
  const QCommandLineOption saveAs(QStringLiteral("save-as"),
                                  QStringLiteral("write the running instance's document text to FILE"),
                                  QStringLiteral("FILE"));
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("save a PNG picture of the running instance's window to FILE"),
                                      QStringLiteral("FILE"));
  const QCommandLineOption endAfter(QStringLiteral("end-after"), QStringLiteral("test: end at call N+1"),
                                    QStringLiteral("N"));
  const QCommandLineOption stallAfter(QStringLiteral("stall-after"),
                                      QStringLiteral("test: leave calls from N+1 on unanswered"),
                                      QStringLiteral("N"));
  parser.addOptions({dialect, language, printText, saveAs, screenshot, endAfter, stallAfter});
  parser.addPositionalArgument(QStringLiteral("LETTER"), QStringLiteral("the letter to open"));
  if (!parser.parse(arguments)) {
    *error = parser.errorText();
    return std::nullopt;
  }
  Options options;
  options.printText = parser.isSet(printText);
  if (parser.isSet(saveAs)) options.saveAs = parser.value(saveAs);
  if (parser.isSet(screenshot)) options.screenshot = QFileInfo(parser.value(screenshot)).absoluteFilePath();
  const QStringList positional = parser.positionalArguments();
  if (options.IsClient()) {
    if (int(options.printText) + int(bool(options.saveAs)) + int(bool(options.screenshot)) > 1)
      *error = QStringLiteral("--print-text, --save-as and --screenshot exclude each other");
    else if (parser.isSet(dialect) || parser.isSet(language) || !positional.isEmpty())
      *error = QStringLiteral("--print-text, --save-as and --screenshot take no other arguments");
    return error->isEmpty() ? std::optional(options) : std::nullopt;
  }
  const QString dialectValue = parser.isSet(dialect) ? parser.value(dialect) : QStringLiteral("word97");
  if (dialectValue != QStringLiteral("word97") && dialectValue != QStringLiteral("word6")) {
    *error = QStringLiteral("unknown dialect \"%1\" (word97 or word6)").arg(dialectValue);
    return std::nullopt;
  }
  options.word6 = dialectValue == QStringLiteral("word6");
  for (const QCommandLineOption* option : {&endAfter, &stallAfter})
    if (parser.isSet(*option) &&
        !options.faults.Set(QStringLiteral("--") + option->names().front(), parser.value(*option), error))
      return std::nullopt;
  if (parser.isSet(language)) {
    const QString value = parser.value(language);
    if (value != QStringLiteral("English") && value != QStringLiteral("German")) {
      *error = QStringLiteral("unknown language \"%1\" (English or German)").arg(value);
      return std::nullopt;
    }
    options.german = value == QStringLiteral("German");
  }
  if (positional.size() > 1) {
    *error = QStringLiteral("one letter at most");
    return std::nullopt;
  }
  if (!positional.isEmpty()) options.letter = positional.front();
  return options;
}

int AskRunningInstance(const Options& options) {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    Complain(QStringLiteral("no session bus: ") + bus.lastError().message());
    return kFailed;
  }
  const QString owner = bus.interface()->serviceOwner(WindowClassName(QStringLiteral("OpusApp"))).value();
  if (owner.isEmpty()) {
    Complain(QStringLiteral("no penlark-word is running on this bus"));
    return kFailed;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      owner, AutomationContract::WindowPath, QStringLiteral("org.penlark.WordStandin"),
      options.screenshot ? QStringLiteral("SaveScreenshot") : QStringLiteral("DocumentText"));
  if (options.screenshot) call << *options.screenshot;
  call.setAutoStartService(false);
  const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
  if (reply.type() != QDBusMessage::ReplyMessage || (!options.screenshot && reply.arguments().isEmpty())) {
    Complain(reply.errorMessage().isEmpty() ? QStringLiteral("the running penlark-word did not answer")
                                            : reply.errorMessage());
    return kFailed;
  }
  if (options.screenshot) return 0;
  const QByteArray text = reply.arguments().front().toString().toUtf8();
  if (options.printText) {
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : kFailed;
  }
  QSaveFile file(*options.saveAs);
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
    Complain(QStringLiteral("cannot write %1: %2").arg(*options.saveAs, file.errorString()));
    return kFailed;
  }
  return 0;
}

QtMessageHandler qtHandler = nullptr;

// The offscreen platform (the offscreen demo's) warns each time the window's size limits
// change, which tells a person nothing: that one warning is dropped, every other passes on.
void DropOffscreenSizeHints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message == QLatin1String("This plugin does not support propagateSizeHints()"))
    return;
  qtHandler(type, context, message);
}

bool TakeName(QDBusConnection& bus, const QString& name) {
  if (bus.registerService(name)) return true;
  Complain(QStringLiteral("the bus name %1 is taken: another word processor is running").arg(name));
  return false;
}

int RunWordProcessor(int argc, char** argv, const Options& options) {
  std::optional<QString> letterText;
  if (options.letter) {
    QString error;
    letterText = ReadLetterFile(*options.letter, &error);
    if (!letterText) {
      Complain(error);
      return kFailed;
    }
  }
  qtHandler = qInstallMessageHandler(DropOffscreenSizeHints);
  QApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    Complain(QStringLiteral("no session bus: ") + bus.lastError().message());
    return kFailed;
  }

  const QString caption = options.word6 ? (options.german ? QStringLiteral("Word.Basic, German")
                                                          : QStringLiteral("Word.Basic, English"))
                                        : QStringLiteral("Word.Application.8");
  std::optional<QString> name;
  if (options.letter) name = QFileInfo(*options.letter).fileName();
  WordWindow window(caption, name, letterText.value_or(QString()));
  const WordDocumentAccess document = LetterAccess([&window] { return window.Document(); });

  CallCounter faults(options.faults, [&window](const QString&) {
    const QByteArray text = window.DocumentText().toUtf8();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    std::fflush(stdout);
  });
  AutomationTarget* application = nullptr;
  QStringList names;
  bool published = true;
  if (options.word6) {
    application = new WordBasicObject(document, options.german, &window);
    application->SetFaults(&faults);
    published = application->Publish(bus, QStringLiteral("/"), true);
    names << ClassFactoryName(QStringLiteral("Word.Basic"));
  } else {
    application = new Word8Application(document, &window);
    auto* selection = new Word8Selection(document, &window);
    application->SetFaults(&faults);
    selection->SetFaults(&faults);
    published = application->Publish(bus, QStringLiteral("/"), true) &&
                selection->Publish(bus, QStringLiteral("/selection"), false);
    QObject::connect(selection, &AutomationTarget::Called, &window, &WordWindow::ShowCall);
    names << RunningObjectName(QStringLiteral("Word.Application.8"))
          << ClassFactoryName(QStringLiteral("Word.Application.8"));
  }
  QObject::connect(application, &AutomationTarget::Called, &window, &WordWindow::ShowCall);
  new WindowAdaptor(&window);
  new WordStandinAdaptor(&window);
  published = published && bus.registerObject(AutomationContract::WindowPath, &window);
  if (!published) {
    Complain(QStringLiteral("cannot put the objects on the bus: ") + bus.lastError().message());
    return kFailed;
  }

  if (!QuitOnTerminationSignals(app)) {
    Complain(QStringLiteral("cannot watch for signals"));
    return kFailed;
  }

  window.show();
  // The window class goes last: whoever waits for it finds every object in place.
  names << WindowClassName(QStringLiteral("OpusApp"));
  for (const QString& busName : names)
    if (!TakeName(bus, busName)) return kFailed;

  const int code = app.exec();
  for (const QString& busName : names) bus.unregisterService(busName);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QString error;
  const std::optional<Options> options = ParseArguments(arguments, &error);
  if (!options) {
    Complain(error);
    Complain(QStringLiteral(
        "usage: penlark-word [--dialect word97|word6] [--language English|German] [LETTER]\n"
        "       penlark-word --print-text | --save-as FILE | --screenshot FILE"));
    return kBadArguments;
  }
  if (options->IsClient()) {
    QCoreApplication app(argc, argv);
    return AskRunningInstance(*options);
  }
  return RunWordProcessor(argc, argv, *options);
}
