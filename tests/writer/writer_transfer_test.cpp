#include "WriterFixture.h"

#include "organizer/OrganizerLink.h"
#include "word/WordConnect.h"
#include "word/WordTransfer.h"

#include <com/sun/star/document/UndoContextNotClosedException.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>

#include <array>
#include <vector>

namespace {

using Triples = std::vector<std::array<QString, 3>>;  // profile rows: bookmark, field, separator
// Ms Ann Lee of Acme: every row shape at once, bookmarks and continuations.
const Triples kTwelve = {
    {"Name", "Business/Title", "_"}, {"", "First Name", "_"},       {"", "Last Name", "¶"},
    {"", "Business/Position", "¶"},  {"", "Business/Company", ""},  {"Address", "Business/Address", "¶"},
    {"", "Business/City", "_"},      {"", "Business/Zip", "¶"},     {"", "Business/Country", ""},
    {"Phone", "Business/Phone", "»"}, {"", "Business/Fax", ""},     {"Salutation", "Last Name", ""}};

QString Letter(const QString& name, const QString& address = {}, const QString& phone = {},
               const QString& dear = {}) {
  return name + u'\n' + address + QStringLiteral("\n\nPhone: ") + phone + QStringLiteral("\n\nDear ") + dear +
         QStringLiteral(",\n\nThank you for your order.\n\nYours sincerely");
}

const QString k440 = QStringLiteral(
    "Transfer Error|An error has occured while trying to communicate with Word For Windows.  Check:\n\r\n\r"
    "1)  Word is running and a document is displayed\n\r"
    "2)  Any Bookmarks within the active Address Profile are present in the document.|16|0");

// A letter as templates come: a 7 pt address style whose next style is the default one,
// bookmarks in the page header, a frame and a table; header and footer, frame and table are
// what --print-text must show.
const char* const kTemplate = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:styles>
  <style:style style:name="Address_20_Field" style:display-name="Address Field" style:family="paragraph"
   style:next-style-name="Standard"><style:text-properties fo:font-size="7pt"/></style:style>
 </office:styles>
 <office:automatic-styles>
  <style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm"/>
   <style:header-style/><style:footer-style/></style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Standard" style:page-layout-name="pm1">
   <style:header><text:p>Harbour &amp; Finch, <text:bookmark text:name="Branch"/></text:p></style:header>
   <style:footer><text:p>Registered in England</text:p></style:footer>
  </style:master-page>
 </office:master-styles>
 <office:body><office:text>
  <text:p text:style-name="Address_20_Field"><text:bookmark text:name="Name"/></text:p>
  <text:p>Phone: <draw:frame draw:name="Box" text:anchor-type="paragraph" svg:width="5cm" svg:height="2cm" svg:x="10cm"
   svg:y="0cm"><draw:text-box><text:p>Fax: <text:bookmark text:name="Fax"/></text:p></draw:text-box></draw:frame></text:p>
  <table:table table:name="Ref"><table:table-column table:number-columns-repeated="2"/><table:table-row>
   <table:table-cell><text:p>Ref</text:p></table:table-cell>
   <table:table-cell><text:p><text:bookmark text:name="Reference"/></text:p></table:table-cell></table:table-row></table:table>
  <text:p>Dear <text:bookmark text:name="Salutation"/>,</text:p>
 </office:text></office:body>
</office:document>
)";

const Triples kTemplateRows = {
    {"Name", "Business/Title", "_"}, {"", "First Name", "_"},        {"", "Last Name", "¶"},
    {"", "Business/Company", "¶"},   {"", "Business/Country", ""},   {"Branch", "Business/City", ""},
    {"Fax", "Business/Fax", ""},     {"Reference", "Business/Zip", ""}, {"Salutation", "Last Name", ""}};

class WriterTransferTest : public WriterFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(WriterFixture::SetUp());
    const QString data = QStringLiteral(PENLARK_TEST_DATA "/word-addresses.json");
    ASSERT_NE(bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), {data}, DdeServiceName(QStringLiteral("Organize200"))),
              nullptr) << bus.lastError().toStdString();
    pv.OrganizerFilePath = data;
    pv.AddressSectionName = QStringLiteral("Address");
    ASSERT_TRUE(SetupOrganizerLink(pv));
    cboAddressProfile->setEditText(QStringLiteral("Business Letter"));
  }

  // kTemplate opened in place of the letter, with nothing to undo in it.
  void OpenTemplate() {
    const QString path = dir.filePath(QStringLiteral("template.fodt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(kTemplate) > 0 && file.flush());
    office->CloseAll();
    letter = office->Open(path);
    ASSERT_TRUE(letter.is());
  }

  void WriteProfile(const Triples& rows) {
    QString ini = QStringLiteral("[Address Profiles]\n0=Business Letter\n[Profile 0]\n");
    const QString keys[3] = {"Bookmark ", "Field ", "Separator "};
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t k = 0; k < 3; ++k) ini += keys[k] + QString::number(r) + u'=' + rows[r][k] + u'\n';
    QFile file(pv.ConfigFilePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(ini.toUtf8()) > 0 && file.flush());
  }
};




// The test letter, and the sample .docx made from the sample .odt through LibreOffice,
// filled at their bookmarks.
TEST_F(WriterTransferTest, LettersAreFilledAtTheirBookmarks) {
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
    QString filled;
    QStringList bookmarks;  // empty: not checked
  } cases[] = {
      {kLetterOdt, kTwelve,
       Letter("Ms Ann Lee\nBuyer\nAcme Ltd", "1 Mill Lane\nLeeds LS1 4AB\nEngland", "0113 496 0000\t0113 496 0001",
              "Lee"),
       {"Address@3:0", "Name@0:0", "Phone@7:7", "Salutation@9:5"}},
      {samples + QStringLiteral("/letter.docx"),
       {{"Address", "Business/Title", "_"}, {"", "First Name", "_"}, {"", "Last Name", "¶"},
        {"", "Business/Company", ""}, {"Reference", "First Name", ""}, {"Salutation", "Last Name", ""}},
       sample, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letter.toStdString());
    office->CloseAll();
    letter = office->Open(c.letter);
    ASSERT_TRUE(letter.is());
    ASSERT_NO_FATAL_FAILURE(WriteProfile(c.rows));
    EXPECT_TRUE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
    EXPECT_EQ(Boxes(), QStringList());
    EXPECT_EQ(::LetterText(letter), c.filled);
    if (!c.bookmarks.isEmpty()) EXPECT_EQ(BookmarkPlaces(letter), c.bookmarks);
  }
}

// Paragraphs a transfer inserts into the template's 7 pt address style keep that style, not
// its next style; --print-text shows the whole letter, header, frame, table and footer.
TEST_F(WriterTransferTest, ATemplateIsFilledEverywhereKeepingItsStyles) {
  ASSERT_NO_FATAL_FAILURE(OpenTemplate());
  ASSERT_NO_FATAL_FAILURE(WriteProfile(kTemplateRows));
  EXPECT_TRUE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
  EXPECT_EQ(Boxes(), QStringList());
  EXPECT_EQ(StyledParagraphs(letter), (QStringList{"Address Field|Ms Ann Lee", "Address Field|Acme Ltd",
                                                   "Address Field|England", "Standard|Phone: ", "Standard|Dear Lee,"}));
  QString printed;
  EXPECT_EQ(bus.Run(kWriter, {QStringLiteral("--connect"), office->Description(), QStringLiteral("--print-text")},
                    &printed), 0);
  EXPECT_EQ(printed, QStringLiteral("Harbour & Finch, Leeds\nMs Ann Lee\nAcme Ltd\nEngland\nPhone: \n"
                                    "Fax: 0113 496 0001\nRef\tLS1 4AB\nDear Lee,\nRegistered in England"));
}

TEST_F(WriterTransferTest, OneUndoTakesTheWholeTransferBack) {
  ASSERT_NO_FATAL_FAILURE(OpenTemplate());
  const QString before = ::LetterText(letter);
  ASSERT_NO_FATAL_FAILURE(WriteProfile(kTemplateRows));
  EXPECT_TRUE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
  EXPECT_NE(::LetterText(letter), before);
  const Reference<css::document::XUndoManager> undo =
      Reference<css::document::XUndoManagerSupplier>(letter, UNO_QUERY_THROW)->getUndoManager();
  // The step is closed once penlark-writer has had no call for a moment.
  QDeadlineTimer deadline(5000);
  for (;;) {
    try {
      undo->undo();
      break;
    } catch (const css::document::UndoContextNotClosedException&) {
      ASSERT_FALSE(deadline.hasExpired());
      QThread::msleep(50);
    }
  }
  EXPECT_EQ(::LetterText(letter), before);
  EXPECT_FALSE(undo->isUndoPossible());
  EXPECT_TRUE(undo->isRedoPossible());
}


TEST_F(WriterTransferTest, AMissingBookmarkStopsTheTransferAfterTheRowsBeforeIt) {
  ASSERT_NO_FATAL_FAILURE(WriteProfile({{"Name", "First Name", ""}, {"Nowhere", "Last Name", ""},
                                        {"Salutation", "Last Name", ""}}));
  EXPECT_FALSE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
  EXPECT_EQ(Boxes(), QStringList{"Transfer Error|A Bookmark that is present in the Business Letter Address "
                                 "Profile does not exist in the current document.|16|0"});
  EXPECT_EQ(DocumentText(letter), Letter("Ann"));
}

TEST_F(WriterTransferTest, NoDocumentOpenStopsStartUpAndTheTransfer) {
  ConnectToWord(pv);
  EXPECT_EQ(pv.WordVersion, QStringLiteral("8.0"));
  office->CloseAll();
  QString err;
  EXPECT_EQ(bus.Run(kWriter, {QStringLiteral("--connect"), office->Description(), QStringLiteral("--print-text")},
                    nullptr, &err), 1);
  EXPECT_EQ(err, QStringLiteral("penlark-writer: no text document is open\n"));
  ASSERT_NO_FATAL_FAILURE(WriteProfile(kTwelve));
  EXPECT_FALSE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
  EXPECT_THROW(ConnectToWord(pv), ProgramEnded);
  EXPECT_EQ(Boxes(), (QStringList{
                         "Error  4248|This command is not available because no document is open.|16|0",
                         "No Document Active|There is no Word document active.\r\n\r\n"
                         "Please open a Word document before running Penlark.|16|0"}));
}

TEST_F(WriterTransferTest, AnOfficeEndingIsWaitedForAndFilledAgainOnceRestarted) {
  HeadlessOffice ending;
  ASSERT_TRUE(ending.ok()) << ending.error().toStdString();
  ASSERT_TRUE(ending.Open(kLetterOdt).is());
  bus.Stop(writer);
  ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
  ASSERT_NO_FATAL_FAILURE(StartWriter(ending));
  ASSERT_NO_FATAL_FAILURE(WriteProfile(kTwelve));
  EXPECT_TRUE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));

  ending.Kill();
  EXPECT_FALSE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
  EXPECT_EQ(Boxes(), QStringList{k440});
  // While the office is away Penlark finds no word processor running.
  ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
  EXPECT_EQ(writer->state(), QProcess::Running);

  ASSERT_TRUE(ending.Restart()) << ending.error().toStdString();
  const Reference<css::text::XTextDocument> again = ending.Open(kLetterOdt);
  ASSERT_TRUE(again.is());
  QDeadlineTimer deadline(10000);
  while (!bus.HasName(WindowClassName(QStringLiteral("OpusApp"))) && !deadline.hasExpired()) QThread::msleep(50);
  ASSERT_TRUE(bus.HasName(WindowClassName(QStringLiteral("OpusApp"))));
  EXPECT_TRUE(TransferWord8(pv, QStringLiteral("Lee"), true, 0));
  EXPECT_EQ(DocumentText(again), Letter("Ms Ann Lee\nBuyer\nAcme Ltd", "1 Mill Lane\nLeeds LS1 4AB\nEngland",
                                        "0113 496 0000\t0113 496 0001", "Lee"));
  writer->setReadChannel(QProcess::StandardError);
  writer->waitForReadyRead(1000);
  EXPECT_EQ(QString::fromUtf8(writer->readAllStandardError()),
            QStringLiteral("penlark-writer: LibreOffice has ended or dropped the connection; waiting for it to listen "
                           "again\n"));
}

}  // namespace
