#include "WriterFixture.h"

#include "OfficeSession.h"
#include "runtime/RuntimeError.h"
#include "word/WordConnect.h"

#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>

namespace {

TEST(WriterStandinStartTest, RefusesBadArgumentsAndWaitsForAnOfficeThatIsNotThere) {
  PrivateBus bus;
  ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
  const std::pair<QStringList, QString> cases[] = {  // arguments, the first line said
      {{"--bogus"}, "penlark-writer: Unknown option 'bogus'."},
      {{"letter.odt"}, "penlark-writer: no arguments but the options"},
      {{"--undo"}, "penlark-writer: --undo and --profile go with --setup"},
      {{"--setup", "--print-text"}, "penlark-writer: --setup and --print-text exclude each other"},
  };
  for (const auto& [arguments, firstLine] : cases) {
    SCOPED_TRACE(arguments.join(u' ').toStdString());
    QString err;
    EXPECT_EQ(bus.Run(kWriter, arguments, nullptr, &err), 2);
    EXPECT_EQ(err.section(u'\n', 0, 0), firstLine);
  }
  // No office: it says so once, waits without the word processor's names, and ends cleanly.
  const QString nobody = QStringLiteral("pipe,name=penlark-nobody-%1").arg(QCoreApplication::applicationPid());
  QProcess waiting;
  waiting.setProcessEnvironment(bus.Environment());
  EndWithTest(waiting);
  waiting.setReadChannel(QProcess::StandardError);
  waiting.start(kWriter, {QStringLiteral("--connect"), nobody});
  ASSERT_TRUE(waiting.waitForReadyRead(10000));
  QThread::msleep(2 * OfficeSession::kRetryEvery);
  EXPECT_EQ(QString::fromUtf8(waiting.readAllStandardError()),
            "penlark-writer: waiting: no LibreOffice listens on " + nobody +
                "; set yours up once with penlark-writer --setup, or start one with: soffice --accept=\"" + nobody +
                ";urp;\"\n");
  EXPECT_FALSE(bus.HasName(WindowClassName(QStringLiteral("OpusApp"))));
  bus.Stop(&waiting);
  EXPECT_EQ(waiting.exitCode(), 0);
}

// The setting is added to and taken from the profile's own settings file, everything else in
// it kept; someone else's setting and a running office are left alone.
TEST(WriterSetupTest, SetsTheProfileToListenAndUndoesIt) {
  QTemporaryDir profile;
  const QString file = profile.filePath(QStringLiteral("user/registrymodifications.xcu"));
  ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
  const QString head = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
      "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
      "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"FirstRun\" oor:op=\"fuse\"><value>false"
      "</value></prop></item>\n");
  const QString ours = QStringLiteral(
      "<item oor:path=\"/org.openoffice.Setup/Office\"><prop oor:name=\"ooSetupConnectionURL\" oor:op=\"fuse\">"
      "<value>pipe,name=penlark-writer;urp;</value></prop></item>\n");
  const QString foreign = QStringLiteral(
      "<item oor:path=\"/org.openoffice.Setup\"><node oor:name=\"Office\"><prop oor:name=\"ooSetupConnectionURL\" "
      "oor:op=\"fuse\"><value>socket,host=localhost,port=2002;urp;</value></prop></node></item>\n");
  const QString end = QStringLiteral("</oor:items>\n");
  const QString said = "penlark-writer: LibreOffice ";
  const struct {
    QString before;  // the file written first; empty: as the step before left it
    bool undo;
    int exitCode;
    QString told;    // the first line on standard output or, failing, standard error
    QString after;
    bool running = false;  // an office holds the profile
  } steps[] = {
      {head + end, false, 0, said + "listens for penlark-writer from its next start (" + file + ")", head + ours + end},
      {{}, false, 0, said + "is already set to listen for penlark-writer (in " + file + ")", head + ours + end},
      {{}, true, 0, said + "no longer listens for penlark-writer from its next start (" + file + ")", head + end},
      {{}, true, 0, said + "is not set to listen for penlark-writer in " + file + "; nothing to undo", head + end},
      {head + foreign + end, false, 1,
       "penlark-writer: LibreOffice is already set to listen on \"socket,host=localhost,port=2002;urp;\" in " + file +
           "; that is left as it is (start penlark-writer with --connect and that place, without \";urp;\")",
       head + foreign + end},
      {{}, true, 1,
       "penlark-writer: LibreOffice is set to listen on \"socket,host=localhost,port=2002;urp;\" in " + file +
           ", which penlark-writer did not set; it is left as it is",
       head + foreign + end},
      // A running office writes its settings back when it ends, over any change made meanwhile.
      {head + end, false, 1,
       said + "is running with the profile " + profile.path() + ": close it and run this again, since it writes its "
           "settings back when it ends (if it is not running, remove " + profile.path() + "/.lock)",
       head + end, true},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.told.toStdString());
    if (!s.before.isEmpty()) { ASSERT_TRUE(PutBytes(file, s.before.toUtf8())); }
    if (s.running) { ASSERT_TRUE(PutBytes(profile.filePath(QStringLiteral(".lock")), "")); }
    QStringList arguments = {"--setup", "--profile", profile.path()};
    if (s.undo) arguments << "--undo";
    QProcess setup;
    setup.start(kWriter, arguments);
    ASSERT_TRUE(setup.waitForFinished(10000));
    EXPECT_EQ(setup.exitCode(), s.exitCode);
    const QString told = QString::fromUtf8(s.exitCode == 0 ? setup.readAllStandardOutput() : setup.readAllStandardError());
    EXPECT_EQ(told.section(u'\n', 0, 0), s.told);
    EXPECT_EQ(QString::fromUtf8(ReadBytes(file)), s.after);
  }
}

using WriterStandinTest = WriterFixture;

// "Thank you" of the letter as a bookmark spanning it.
void MarkThanks(const Reference<css::text::XTextDocument>& letter) {
  const Reference<css::lang::XMultiServiceFactory> factory(letter, UNO_QUERY_THROW);
  const Reference<css::text::XTextContent> bookmark(factory->createInstance(rtl::OUString("com.sun.star.text.Bookmark")),
                                                    UNO_QUERY_THROW);
  Reference<css::container::XNamed>(bookmark, UNO_QUERY_THROW)->setName(rtl::OUString("Thanks"));
  const Reference<css::text::XTextCursor> cursor = letter->getText()->createTextCursor();
  cursor->gotoStart(false);
  cursor->goRight(static_cast<sal_Int16>(DocumentText(letter).indexOf(QStringLiteral("Thank you"))), false);
  cursor->goRight(9, true);
  letter->getText()->insertTextContent(Reference<css::text::XTextRange>(cursor.get()), bookmark, true);
}

// The object model over the open letter. Writer keeps a bookmark where it was: text inserted
// at its place or at its end goes after it. Once no letter is open, start-up ends the program
// and --print-text says so (the transfer's refusal is a row of the word-transfer table).
TEST_F(WriterStandinTest, AnswersTheObjectModelOverTheOpenLetterAndNeedsOne) {
  ConnectToWord(pv);
  MarkThanks(letter);
  const AutomationObject app = pv.WordApp;
  const AutomationObject selection = app.GetObject(QStringLiteral("Selection"));
  const struct {
    const char* call;
    std::function<QVariant()> run;
    QVariant result;  // of a call that succeeds
    int error;        // of one that is refused; 0 for none
  } steps[] = {
      {"Application", [&] { return app.GetObject("Application").Path(); }, "/", 0},
      {"ActiveDocument", [&] { return app.Get("ActiveDocument"); }, "letter.odt", 0},
      {"GoTo salutation", [&] { return selection.Call("GoTo", {}, {{"What", -1}, {"Name", "salutation"}}); }, {}, 0},
      {"InsertAfter", [&] { return selection.Call("InsertAfter", {"Mr\r\nJo\tX\rY"}); }, {}, 0},
      {"Text grown", [&] { return selection.Get("Text"); }, "Mr\nJo\tX\nY", 0},
      {"GoTo Thanks", [&] { return selection.Call("GoTo", {}, {{"What", -1}, {"Name", "Thanks"}}); }, {}, 0},
      {"InsertAfter a span", [&] { return selection.Call("InsertAfter", {" very much"}); }, {}, 0},
      {"Text of the span", [&] { return selection.Get("Text"); }, "Thank you very much", 0},
      {"GoTo Thanks again", [&] { return selection.Call("GoTo", {}, {{"What", -1}, {"Name", "Thanks"}}); }, {}, 0},
      {"Thanks kept", [&] { return selection.Get("Text"); }, "Thank you", 0},
      {"GoTo salutation again", [&] { return selection.Call("GoTo", {}, {{"What", -1}, {"Name", "salutation"}}); }, {}, 0},
      {"InsertAfter at it", [&] { return selection.Call("InsertAfter", {"<"}); }, {}, 0},
      {"GoTo a line", [&] { return selection.Call("GoTo", {}, {{"What", 3}, {"Name", "Name"}}); }, {}, 5},
      {"GoTo no name", [&] { return selection.Call("GoTo", {-1}); }, {}, 449},
      {"InsertAfter nothing", [&] { return selection.Call("InsertAfter"); }, {}, 449},
      {"unknown method", [&] { return selection.Call("TypeText", {"x"}); }, {}, 438},
      {"unknown property", [&] { return app.Get("Documents"); }, {}, 438},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.call);
    try {
      const QVariant result = step.run();
      EXPECT_EQ(step.error, 0) << "succeeded";
      EXPECT_EQ(result.toString(), step.result.toString());
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), step.error) << error.description().toStdString();
    }
  }
  EXPECT_EQ(DocumentText(letter), QStringLiteral("\n\n\nPhone: \n\nDear <Mr\nJo\tX\nY,\n\n"
                                                 "Thank you very much for your order.\n\nYours sincerely"));
  const Reference<css::container::XNameAccess> marks =
      Reference<css::text::XBookmarksSupplier>(letter, UNO_QUERY_THROW)->getBookmarks();
  QStringList bookmarks;  // none added, none lost
  for (const rtl::OUString& name : marks->getElementNames()) bookmarks << FromUno(name);
  bookmarks.sort();
  EXPECT_EQ(bookmarks, (QStringList{"Address", "Name", "Phone", "Salutation", "Thanks"}));
  QString printed;
  EXPECT_EQ(PrintText(&printed), 0);
  EXPECT_EQ(printed, DocumentText(letter));
  EXPECT_NE(FindWindowA(QStringLiteral("OpusApp"), QStringLiteral("letter.odt - LibreOffice Writer"), bus.connection()), 0u);
  ASSERT_NO_FATAL_FAILURE(OpenOnly({}));
  QString err;
  EXPECT_EQ(PrintText(nullptr, &err), 1);
  EXPECT_EQ(err, QStringLiteral("penlark-writer: no text document is open\n"));
  EXPECT_THROW(ConnectToWord(pv), ProgramEnded);
  EXPECT_EQ(Boxes(), QStringList{"No Document Active|There is no Word document active.\r\n\r\n"
                                 "Please open a Word document before running Penlark.|16|0"});
}

}  // namespace
