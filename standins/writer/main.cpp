// penlark-writer: LibreOffice Writer as the word processor Penlark writes letters into.
//
// What it plays: the Word 97 object model of a running word processor, on the D-Bus
// session bus, never started by Penlark, backed by a LibreOffice that listens for UNO
// connections (`soffice --accept="pipe,name=penlark-writer;urp;"`). The person sees every
// change in Writer as it is made.
//   - The window class "OpusApp" (bus name WindowClassName("OpusApp"), object "/window",
//     interface org.penlark.Window, Title the title of Writer's window).
//   - The running object of class "Word.Application.8" (RunningObjectName, and its class
//     factory ClassFactoryName): Application, Version "8.0", ActiveDocument (Writer's
//     current text document), Selection (its view cursor) with GoTo (What -1, Name: the
//     Writer bookmark's range) and InsertAfter (Text).
// What it leaves out: WordBasic, opening, saving or closing documents (nothing is saved or
// closed), any go-to but to a bookmark, and every other member of the object model.
// How it reports: a refused call answers with the error
// "org.penlark.Automation.Error.E<number>", the description as its message:
//   438 unknown property or method
//   448 unknown or repeated named argument, 449 argument missing, 450 too many arguments
//   5    GoTo with a What other than -1
//   4248 ActiveDocument, Selection or a selection call with no text document open
//   5101 GoTo to a bookmark the document lacks
//   440  a call the office fails, or one made as the office ends
// `penlark-writer --print-text` prints the text of the office's current text document to
// standard output, each paragraph break as LF, nothing added; it needs no bus.
// Exit codes: 0 after SIGTERM or SIGINT; 2 for bad arguments; 1 for anything else that
// stops it: no session bus, a bus name taken, no LibreOffice listening, and LibreOffice
// ending or dropping the connection (the word processor has gone, so its names go too);
// for --print-text also no text document open.

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
    const QByteArray text = DocumentText(document).toUtf8();
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
  QString error;
  const auto lost = [&app] {
    QMetaObject::invokeMethod(&app, [&app] {
      Complain(QStringLiteral("LibreOffice has ended or dropped the connection"));
      app.exit(kFailed);
    }, Qt::QueuedConnection);
  };
  const std::unique_ptr<WriterConnection> writer = WriterConnection::Open(description, &error, lost);
  if (!writer) {
    Complain(error);
    return kFailed;
  }

  QObject objects;
  auto* application = new WriterApplication(*writer, &objects);
  auto* selection = new WriterSelection(*writer, &objects);
  auto* window = new WriterWindow(*writer, &objects);
  new WindowAdaptor(window);
  if (!application->Publish(bus, QStringLiteral("/"), true) ||
      !selection->Publish(bus, QStringLiteral("/selection"), false) ||
      !bus.registerObject(AutomationContract::WindowPath, window)) {
    Complain(QStringLiteral("cannot put the objects on the bus: ") + bus.lastError().message());
    return kFailed;
  }
  if (!QuitOnTerminationSignals(app)) {
    Complain(QStringLiteral("cannot watch for signals"));
    return kFailed;
  }
  // The window class goes last: whoever waits for it finds every object in place.
  const QStringList names = {RunningObjectName(QStringLiteral("Word.Application.8")),
                             ClassFactoryName(QStringLiteral("Word.Application.8")),
                             WindowClassName(QStringLiteral("OpusApp"))};
  for (const QString& name : names)
    if (!TakeName(bus, name)) return kFailed;

  const int code = app.exec();
  for (const QString& name : names) bus.unregisterService(name);
  return code;
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
  parser.addOptions({connect, printText});
  if (!parser.parse(app.arguments()) || !parser.positionalArguments().isEmpty()) {
    Complain(parser.errorText().isEmpty() ? QStringLiteral("no arguments but --connect and --print-text") : parser.errorText());
    Complain(QStringLiteral("usage: penlark-writer [--connect pipe,name=NAME | --connect socket,host=HOST,port=PORT] "
                            "[--print-text]"));
    return kBadArguments;
  }
  if (parser.isSet(printText)) return PrintText(parser.value(connect));
  return Serve(app, parser.value(connect));
}
