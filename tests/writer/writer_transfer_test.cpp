#include "WriterFixture.h"

#include "word/WordTransfer.h"

#include <com/sun/star/document/UndoContextNotClosedException.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>

namespace {

// tests/data/template.fodt, a letter as templates come: a 7 pt address style whose next
// style is the default one, bookmarks in the page header, a frame and a table; header and
// footer, frame and table are what --print-text must show.
const QString kTemplate = QStringLiteral(PENLARK_TEST_DATA "/template.fodt");

class WriterTransferTest : public WriterFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(WriterFixture::SetUp());
    ASSERT_NE(StartAddressBook(), nullptr);
    cboAddressProfile->setEditText(QStringLiteral("Business Letter"));
  }
};

// The sample .docx made from the sample .odt through LibreOffice, and kTemplate, filled at
// their bookmarks (the word-transfer table fills letter.odt), and the whole transfer taken
// back by one undo. Paragraphs inserted into the template's 7 pt address style keep that
// style, not its next style; --print-text shows the whole letter, header, frame, table and
// footer.
TEST_F(WriterTransferTest, LettersAndTemplatesAreFilledAtTheirBookmarksAndOneUndoTakesItBack) {
  const QString samples = QStringLiteral(PENLARK_TEST_DATA "/../../samples");
  QFile plain(samples + QStringLiteral("/letter.txt"));
  ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
  QString sample = QString::fromUtf8(plain.readAll()).trimmed();
  sample.replace(QStringLiteral("[[Address]]"), QStringLiteral("Ms Ann Lee\nAcme Ltd"));
  sample.replace(QStringLiteral("[[Reference]]"), QStringLiteral("Ann"));
  sample.replace(QStringLiteral("[[Salutation]]"), QStringLiteral("Lee"));
  const struct {
    QString letter;
    Triples rows;
    QString printed;
    QStringList styles;  // empty: not checked
  } cases[] = {
      {samples + QStringLiteral("/letter.docx"),
       {{"Address", "Business/Title", "_"}, {"", "First Name", "_"}, {"", "Last Name", "¶"},
        {"", "Business/Company", ""}, {"Reference", "First Name", ""}, {"Salutation", "Last Name", ""}},
       sample, {}},
      {kTemplate,
       {{"Name", "Business/Title", "_"}, {"", "First Name", "_"}, {"", "Last Name", "¶"}, {"", "Business/Company", "¶"},
        {"", "Business/Country", ""}, {"Branch", "Business/City", ""}, {"Fax", "Business/Fax", ""},
        {"Reference", "Business/Zip", ""}, {"Salutation", "Last Name", ""}},
       "Harbour & Finch, Leeds\nMs Ann Lee\nAcme Ltd\nEngland\nPhone: \nFax: 0113 496 0001\nRef\tLS1 4AB\nDear Lee,\n"
       "Registered in England",
       {"Address Field|Ms Ann Lee", "Address Field|Acme Ltd", "Address Field|England", "Standard|Phone: ",
        "Standard|Dear Lee,"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letter.toStdString());
    ASSERT_NO_FATAL_FAILURE(OpenOnly(c.letter));
    const QString before = ::LetterText(letter);
    ASSERT_NO_FATAL_FAILURE(WriteProfile(c.rows));
    EXPECT_TRUE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
    EXPECT_EQ(Boxes(), QStringList());
    QString printed;
    EXPECT_EQ(PrintText(&printed), 0);
    EXPECT_EQ(printed, c.printed);
    if (!c.styles.isEmpty()) { EXPECT_EQ(StyledParagraphs(letter), c.styles); }
    const Reference<css::document::XUndoManager> undo =
        Reference<css::document::XUndoManagerSupplier>(letter, UNO_QUERY_THROW)->getUndoManager();
    // The step is closed once penlark-writer has had no call for a moment.
    for (QDeadlineTimer deadline(5000);; QThread::msleep(50)) {
      try {
        undo->undo();
        break;
      } catch (const css::document::UndoContextNotClosedException&) {
        ASSERT_FALSE(deadline.hasExpired());
      }
    }
    EXPECT_EQ(::LetterText(letter), before);
    EXPECT_FALSE(undo->isUndoPossible());
    EXPECT_TRUE(undo->isRedoPossible());
  }
}

TEST_F(WriterTransferTest, AnOfficeEndingIsWaitedForAndFilledAgainOnceRestarted) {
  ASSERT_NO_FATAL_FAILURE(WriteProfile({{"Salutation", "Last Name", ""}}));
  EXPECT_TRUE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));

  office->Kill();
  EXPECT_FALSE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
  EXPECT_EQ(Boxes(), QStringList{"Transfer Error|An error has occured while trying to communicate with Word For "
                                 "Windows.  Check:\n\r\n\r1)  Word is running and a document is displayed\n\r2)  Any "
                                 "Bookmarks within the active Address Profile are present in the document.|16|0"});
  // While the office is away Penlark finds no word processor running.
  ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
  EXPECT_EQ(word->state(), QProcess::Running);

  ASSERT_TRUE(office->Restart()) << office->error().toStdString();
  const Reference<css::text::XTextDocument> again = office->Open(kLetterOdt);
  ASSERT_TRUE(again.is());
  QDeadlineTimer deadline(10000);
  while (!bus.HasName(WindowClassName(QStringLiteral("OpusApp"))) && !deadline.hasExpired()) QThread::msleep(50);
  ASSERT_TRUE(bus.HasName(WindowClassName(QStringLiteral("OpusApp"))));
  EXPECT_TRUE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
  EXPECT_EQ(DocumentText(again), "\n\n\nPhone: \n\nDear Lee,\n\nThank you for your order.\n\nYours sincerely");
  word->setReadChannel(QProcess::StandardError);
  word->waitForReadyRead(1000);
  EXPECT_EQ(QString::fromUtf8(word->readAllStandardError()),
            QStringLiteral("penlark-writer: LibreOffice has ended or dropped the connection; waiting for it to listen "
                           "again\n"));
}

}  // namespace
