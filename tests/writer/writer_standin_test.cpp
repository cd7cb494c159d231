#include "WriterFixture.h"

#include "runtime/RuntimeError.h"

#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>

namespace {

TEST(WriterStandinStartTest, RefusesBadArgumentsAndAnOfficeThatIsNotThere) {
  PrivateBus bus;
  ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
  const QString nobody = QStringLiteral("pipe,name=penlark-nobody-%1").arg(QCoreApplication::applicationPid());
  const struct {
    QStringList arguments;
    int exitCode;
    QString firstLine;
  } cases[] = {
      {{"--bogus"}, 2, "penlark-writer: Unknown option 'bogus'."},
      {{"letter.odt"}, 2, "penlark-writer: no arguments but --connect and --print-text"},
      {{"--connect", nobody}, 1,
       "penlark-writer: no LibreOffice listens on " + nobody + "; start one with: soffice --accept=\"" + nobody +
           ";urp;\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    QString err;
    EXPECT_EQ(bus.Run(kWriter, c.arguments, nullptr, &err), c.exitCode);
    EXPECT_EQ(err.section(u'\n', 0, 0), c.firstLine);
    EXPECT_FALSE(bus.HasName(WindowClassName(QStringLiteral("OpusApp"))));
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

TEST_F(WriterStandinTest, AnswersTheObjectModelOverTheOpenLetter) {
  MarkThanks(letter);
  const AutomationObject app = pv.WordApp;
  const AutomationObject selection = app.GetObject(QStringLiteral("Selection"));
  const struct {
    const char* call;
    std::function<QVariant()> run;
    QVariant result;  // of a call that succeeds
    int error;        // of one that is refused; 0 for none
  } steps[] = {
      {"Version", [&] { return app.Get("Version"); }, "8.0", 0},
      {"Application", [&] { return app.GetObject("Application").Path(); }, "/", 0},
      {"ActiveDocument", [&] { return app.Get("ActiveDocument"); }, "letter.odt", 0},
      {"GoTo salutation", [&] { return selection.Call("GoTo", {}, {{"What", -1}, {"Name", "salutation"}}); }, {}, 0},
      {"Text at a point", [&] { return selection.Get("Text"); }, "", 0},
      {"InsertAfter", [&] { return selection.Call("InsertAfter", {"Mr\r\nJo\tX\rY"}); }, {}, 0},
      {"InsertAfter again", [&] { return selection.Call("InsertAfter", {}, {{"Text", "!"}}); }, {}, 0},
      {"Text grown", [&] { return selection.Get("Text"); }, "Mr\nJo\tX\nY!", 0},
      {"GoTo Thanks", [&] { return selection.Call("GoTo", {}, {{"What", -1}, {"Name", "Thanks"}}); }, {}, 0},
      {"Text spanned", [&] { return selection.Get("Text"); }, "Thank you", 0},
      {"InsertAfter a span", [&] { return selection.Call("InsertAfter", {" very much"}); }, {}, 0},
      {"Text of the span", [&] { return selection.Get("Text"); }, "Thank you very much", 0},
      {"GoTo a line", [&] { return selection.Call("GoTo", {}, {{"What", 3}, {"Name", "Name"}}); }, {}, 5},
      {"GoTo no name", [&] { return selection.Call("GoTo", {-1}); }, {}, 449},
      {"GoTo nowhere", [&] { return selection.Call("GoTo", {-1}, {{"Name", "Nowhere"}}); }, {}, 5101},
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
  // Writer keeps a bookmark where it was: text inserted at its place or at its end goes after it.
  EXPECT_EQ(DocumentText(letter), QStringLiteral("\n\n\nPhone: \n\nDear Mr\nJo\tX\nY!,\n\n"
                                                 "Thank you very much for your order.\n\nYours sincerely"));
  EXPECT_EQ(BookmarkPlaces(letter), (QStringList{"Address@1:0", "Name@0:0", "Phone@3:7", "Salutation@5:5",
                                                 "Thanks@9:0=Thank you"}));
  QString printed;
  EXPECT_EQ(bus.Run(kWriter, {QStringLiteral("--connect"), office->Description(), QStringLiteral("--print-text")},
                    &printed), 0);
  EXPECT_EQ(printed, DocumentText(letter));
  EXPECT_NE(FindWindowA(QStringLiteral("OpusApp"), QStringLiteral("letter.odt - LibreOffice Writer"), bus.connection()), 0u);
}

}  // namespace
