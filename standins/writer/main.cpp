// penlark-writer: LibreOffice Writer as the word processor Penlark writes letters into.
//
// What it plays: the Word 97 object model of a running word processor, on the D-Bus
// session bus, never started by Penlark, backed by a LibreOffice that listens for UNO
// connections: the person's own, set up once with `penlark-writer --setup`, or one started
// with `soffice --accept="pipe,name=penlark-writer;urp;"`. The person sees every change in
// Writer as it is made.
//   - The window class "OpusApp" (bus name WindowClassName("OpusApp"), object "/window",
//     interface org.penlark.Window, Title the title of Writer's window).
//   - The running object of class "Word.Application.8" (RunningObjectName, and its class
//     factory ClassFactoryName): Application, Version "8.0", ActiveDocument (Writer's
//     current text document), Selection with GoTo (What -1, Name: the Writer bookmark's
//     range) and InsertAfter (Text).
// It waits for the office to listen and holds the bus names only while connected: when
// the office ends or drops the connection it gives them up and waits for the office to
// come back, so Penlark finds no word processor running in between. The calls of one
// burst (no pause of OfficeSession::kBurstEnd between them, as in a transfer) are one
// undo step in Writer.
// What it leaves out: WordBasic, opening, saving or closing documents (nothing is saved or
// closed), any go-to but to a bookmark, and every other member of the object model.
// How it reports: a refused call answers with the error
// "org.penlark.Automation.Error.E<number>", the description as its message:
//   438 unknown property or method
//   448 unknown or repeated named argument, 449 argument missing, 450 too many arguments
//   5    GoTo with a What other than -1
//   4248 ActiveDocument, Selection or a selection call with no text document open
//   5101 GoTo to a bookmark the document lacks
//   440  a call the office fails, or one made as the office ends or while it is away
// `penlark-writer --print-text` prints the whole text of the office's current text document
// to standard output (LetterText: headers, body with frames and tables, footers), one line
// for each paragraph, nothing added; it needs no bus.
// `penlark-writer --setup [--undo] [--profile DIR]` sets the person's LibreOffice (the
// profile DIR, by default the ordinary one) to listen on the --connect place at each
// start, or with --undo no longer; see OfficeSetup.h.
// Exit codes: 0 after SIGTERM or SIGINT, and for a setup done; 2 for bad arguments; 1 for
// anything else that stops it: no session bus, a bus name taken, a setup refused; for
// --print-text also no LibreOffice listening and no text document open.

#include "OfficeSession.h"
#include "OfficeSetup.h"
#include "TerminationSignals.h"
#include "WriterConnection.h"
#include "WriterObjects.h"
#include "WriterText.h"
#include "WriterWindow.h"
#include "windowadaptor.h"

#include "AutomationContract.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

#include <cstdio>

namespace {

constexpr int kBadArguments = 2;
constexpr int kFailed = 1;

void Complain(const QString& message) {
  std::fprintf(stderr, "penlark-writer: %s\n", qUtf8Printable(message));
}

bool TakeName(QDBusConnection& bus, const QString& name) {
  if (bus.registerService(name)) return true;
  Complain(QStringLiteral("the bus name %1 is taken: another word processor is running").arg(name));
  return false;
}

int PrintText(const QString& description) {
  QString error;
  const std::unique_ptr<WriterConnection> writer = WriterConnection::Open(description, &error);
  if (!writer) {
    Complain(error);
    return kFailed;
  }
  try {
    const css::uno::Reference<css::text::XTextDocument> document = writer->CurrentTextDocument();
    if (!document.is()) {
      Complain(QStringLiteral("no text document is open"));
      return kFailed;
    }
    const QByteArray text = LetterText(document).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : kFailed;
  } catch (const css::uno::Exception& e) {
    Complain(QStringLiteral("LibreOffice failed: ") + FromUno(e.Message));
    return kFailed;
  }
}

int Serve(QCoreApplication& app, const QString& description) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    Complain(QStringLiteral("no session bus: ") + bus.lastError().message());
    return kFailed;
  }
  if (!QuitOnTerminationSignals(app)) {
    Complain(QStringLiteral("cannot watch for signals"));
    return kFailed;
  }
  OfficeSession office(description, &app);
  QObject objects;
  const WordDocumentAccess document = WriterAccess(office);
  auto* application = new Word8Application(document, &objects);
  auto* selection = new Word8Selection(document, &objects);
  auto* window = new WriterWindow(office, &objects);
  new WindowAdaptor(window);
  if (!application->Publish(bus, QStringLiteral("/"), true) ||
      !selection->Publish(bus, QStringLiteral("/selection"), false) ||
      !bus.registerObject(AutomationContract::WindowPath, window)) {
    Complain(QStringLiteral("cannot put the objects on the bus: ") + bus.lastError().message());
    return kFailed;
  }
  // The window class goes last when the names are taken and first when they are given
  // up: whoever waits for it finds every object in place.
  const QStringList names = {RunningObjectName(QStringLiteral("Word.Application.8")),
                             ClassFactoryName(QStringLiteral("Word.Application.8")),
                             WindowClassName(QStringLiteral("OpusApp"))};
  const auto giveUpNames = [&] {
    for (auto it = names.crbegin(); it != names.crend(); ++it) bus.unregisterService(*it);
  };
  QObject::connect(&office, &OfficeSession::Opened, &app, [&] {
    for (const QString& name : names)
      if (!TakeName(bus, name)) {
        giveUpNames();
        app.exit(kFailed);
        return;
      }
  });
  QObject::connect(&office, &OfficeSession::Lost, &app, [&] {
    giveUpNames();
    Complain(QStringLiteral("LibreOffice has ended or dropped the connection; waiting for it to listen again"));
  });
  QObject::connect(&office, &OfficeSession::Waiting, &app, [](const QString& why) {
    Complain(QStringLiteral("waiting: ") + why);
  });
  QMetaObject::invokeMethod(&office, &OfficeSession::Start, Qt::QueuedConnection);
  const int code = app.exec();
  office.EndBurst();
  giveUpNames();
  return code;
}

int SetUp(const QString& profile, const QString& description, bool undo) {
  QString said;
  const bool done = SetUpOfficeListening(profile, description + QStringLiteral(";urp;"), undo, &said);
  if (!done) {
    Complain(said);
    return kFailed;
  }
  std::printf("penlark-writer: %s\n", qUtf8Printable(said));
  return std::fflush(stdout) == 0 ? 0 : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  const QCommandLineOption connect(
      QStringLiteral("connect"),
      QStringLiteral("where LibreOffice listens, as given to soffice --accept before \";urp;\" "
                     "(default pipe,name=penlark-writer)"),
      QStringLiteral("DESCRIPTION"), QStringLiteral("pipe,name=penlark-writer"));
  const QCommandLineOption printText(QStringLiteral("print-text"),
                                     QStringLiteral("print the text of the office's current text document"));
  const QCommandLineOption setup(QStringLiteral("setup"),
                                 QStringLiteral("set your LibreOffice to listen for penlark-writer at each start"));
  const QCommandLineOption undo(QStringLiteral("undo"), QStringLiteral("with --setup: take that setting out again"));
  const QCommandLineOption profile(QStringLiteral("profile"),
                                   QStringLiteral("with --setup: the LibreOffice profile folder (default %1)")
                                       .arg(DefaultOfficeProfile()),
                                   QStringLiteral("DIR"), DefaultOfficeProfile());
  parser.addOptions({connect, printText, setup, undo, profile});
  QString misuse;
  if (!parser.parse(app.arguments()))
    misuse = parser.errorText();
  else if (!parser.positionalArguments().isEmpty())
    misuse = QStringLiteral("no arguments but the options");
  else if (parser.isSet(setup) && parser.isSet(printText))
    misuse = QStringLiteral("--setup and --print-text exclude each other");
  else if (!parser.isSet(setup) && (parser.isSet(undo) || parser.isSet(profile)))
    misuse = QStringLiteral("--undo and --profile go with --setup");
  if (!misuse.isEmpty()) {
    Complain(misuse);
    Complain(QStringLiteral("usage: penlark-writer [--connect pipe,name=NAME | --connect socket,host=HOST,port=PORT] "
                            "[--print-text | --setup [--undo] [--profile DIR]]"));
    return kBadArguments;
  }
  if (parser.isSet(setup)) return SetUp(parser.value(profile), parser.value(connect), parser.isSet(undo));
  if (parser.isSet(printText)) return PrintText(parser.value(connect));
  return Serve(app, parser.value(connect));
}
