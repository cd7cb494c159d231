#include "word/WordTransfer.h"

// Built into the writer tests as well: the same rows against penlark-writer and letter.odt,
// but for those of Word 6, which it does not speak.
#ifdef PENLARK_WRITER_BIN
#include "writer/WriterFixture.h"
using TransferTest = WriterFixture;
const QString kLetterEnd;
#else
#include "WordFixture.h"
using TransferTest = WordFixture;
const QString kLetterEnd = QStringLiteral("\n");
#endif

namespace {

QString Letter(const QString& name, const QString& address = {}, const QString& phone = {},
              const QString& dear = {}) {
  return name + u'\n' + address + QStringLiteral("\n\nPhone: ") + phone + QStringLiteral("\n\nDear ") +
         dear + QStringLiteral(",\n\nThank you for your order.\n\nYours sincerely") + kLetterEnd;
}

const QString kBlank = Letter({});
const QString kFull = Letter("Ms Ann Lee\nBuyer\nAcme Ltd", "1 Mill Lane\nLeeds LS1 4AB\nEngland",
                             "0113 496 0000\t0113 496 0001", "Lee");
const QString k440 = QStringLiteral(
    "An error has occured while trying to communicate with Word For Windows.  Check:\n\r\n\r"
    "1)  Word is running and a document is displayed\n\r"
    "2)  Any Bookmarks within the active Address Profile are present in the document.");

// Ms Ann Lee of Acme: every row shape at once, bookmarks and continuations.
const Triples kTwelve = {
    {"Name", "Business/Title", "_"}, {"", "First Name", "_"},       {"", "Last Name", "¶"},
    {"", "Business/Position", "¶"},  {"", "Business/Company", ""},  {"Address", "Business/Address", "¶"},
    {"", "Business/City", "_"},      {"", "Business/Zip", "¶"},     {"", "Business/Country", ""},
    {"Phone", "Business/Phone", "»"}, {"", "Business/Fax", ""},     {"Salutation", "Last Name", ""}};
// Dan Lee has no title and no address; skipping still moves to the row's bookmark.
const Triples kBlanks = {{"Name", "Business/Title", "_"}, {"", "First Name", "_"}, {"", "Last Name", ""},
                         {"Address", "Business/Address", "_¶"}, {"", "Business/City", ""}};
const Triples kMissing = {
    {"Name", "First Name", ""}, {"Nowhere", "Last Name", ""}, {"Salutation", "Last Name", ""}};

QString Box(const QString& title, const QString& text, int style = 16) {
  return title + u'|' + text + u'|' + QString::number(style) + QStringLiteral("|0");
}

struct Case {
  const char* name;
  QStringList word = {kLetter};      // penlark-word's arguments
  QString language = {}, skip = {};  // in PENLARK.INI unless null
  Triples profile = kTwelve;
  QString chosen = "Business Letter", search = "Lee";  // in the profile box; remembered
  int position = 0;
  bool organizerEnded = false;  // after the search; the last row
  QString document = kFull, box = {};  // no box: the transfer succeeds
};

const QString kChanged = Box("Address Data Change Detected", "The Organizer address data has changed.\n\r\n\r"
                              "Please search for the addressee again to ensure you are using the most current "
                              "address data.", 48);
const QString kNoProfile = Box("Blank Address Profile", "No Address Profile has been selected.\n\r\n\r"
                               "Please select an Address Profile.", 48);

// A word processor that ends or stalls at any call: reliability.PartnerFaultTest.
TEST_F(TransferTest, WritesTheProfileRowsOrSaysWhyNot) {
  const QStringList word6 = {"--dialect", "word6", kLetter};
  const Case cases[] = {
      {.name = "word97"},
      {.name = "word6, no language", .word = word6},
      // Goes to each bookmark too: the old German transfer never moved.
      {.name = "word6 German", .word = {"--dialect", "word6", "--language", "German", kLetter},
       .language = "German"},
      {.name = "word6, neither language", .word = word6, .language = "english", .document = kBlank},
      {.name = "blanks kept", .profile = kBlanks, .position = 1, .document = Letter(" Dan Lee", " \nYork")},
      {.name = "blanks skipped", .skip = "1", .profile = kBlanks, .position = 1,
       .document = Letter("Dan Lee", "York")},
      // A first row without a bookmark writes where the selection was left: the start.
      {.name = "rows without field or bookmark",
       .profile = {{"", "", "»"}, {"Salutation", "", "Sir_or_Madam"}, {"", "Business/Company", "»¶_"}},
       .document = Letter("\t", "", "", "Sir or MadamAcme Ltd\t\n ")},
      {.name = "(-None-) first", .profile = {{"Name", "(-None-)", "_"}, {"Salutation", "Last Name", ""}},
       .document = kBlank},
      {.name = "position -1", .profile = {{"Salutation", "First Name", "/"}}, .position = -1,
       .document = Letter("", "", "", "Ann/")},
      {.name = "word97 missing bookmark", .profile = kMissing, .document = Letter("Ann"),
       .box = Box("Transfer Error", "A Bookmark that is present in the Business Letter Address Profile does not "
                                    "exist in the current document.")},
      {.name = "word6 missing bookmark", .word = word6, .profile = kMissing, .document = Letter("Ann"),
       .box = Box("Transfer Error", k440)},
      {.name = "data changed", .position = 2, .document = kBlank, .box = kChanged},
      {.name = "data changed at the first find", .search = "Zebra", .document = kBlank, .box = kChanged},
      // Sent as it is: the address book's first entry of all.
      {.name = "empty search text", .profile = {{"Name", "First Name", ""}}, .search = "", .document = Letter("Ann")},
      {.name = "no such profile", .chosen = "Private Letter", .document = kBlank, .box = kNoProfile},
      {.name = "word97 without a document", .word = {},
       .box = Box("Error  4248", "This command is not available because no document is open.")},
      {.name = "quote", .search = "Lee\")][Quit(", .document = kBlank,
       .box = Box("Penlark Error", "The search text may not contain a double quote (\").\n\r\n\r"
                  "Please remove the double quote and try again.", 48)},
      // The dead conversation is given up, so that the next search sets the link up afresh.
      {.name = "address book ended", .organizerEnded = true, .document = kBlank,
       .box = Box("Error  291", "Foreign application quit")},
  };
  QProcess* organizer = StartAddressBook();
  ASSERT_NE(organizer, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
#ifdef PENLARK_WRITER_BIN
    if (c.word.contains(QStringLiteral("word6"))) continue;
#endif
    desktop = {};
    ASSERT_NO_FATAL_FAILURE(WriteProfile(c.profile));
    if (!c.language.isNull()) Set("Language Settings", "Language", c.language);
    if (!c.skip.isNull()) Set("Options", "Skip Blank Fields", c.skip);
    cboAddressProfile->setEditText(c.chosen);
    ASSERT_NO_FATAL_FAILURE(StartWord(c.word));
    if (c.organizerEnded) {
      bus.Stop(organizer);
      ASSERT_TRUE(bus.WaitNameGone(DdeServiceName(QStringLiteral("Organize200"))));
    }
    const auto transfer = pv.WordVersion == QStringLiteral("6") ? TransferWordBasic : TransferWord8;
    EXPECT_EQ(transfer(pv, c.search, true, c.position), c.box.isEmpty());
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    EXPECT_EQ(Boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
    EXPECT_EQ(pv.OrganizerLinkOpen, !c.organizerEnded);
    if (!c.word.contains(kLetter)) continue;
    QString text;
    EXPECT_EQ(PrintText(&text), 0);
    EXPECT_EQ(text, c.document);
  }
}

}  // namespace
