#include "word/WordTransfer.h"

#include "WordFixture.h"

#include <array>
#include <utility>
#include <vector>

namespace {

QString Letter(const QString& name, const QString& address = {}, const QString& phone = {},
              const QString& salutation = {}) {
  return name + u'\n' + address + QStringLiteral("\n\nPhone: ") + phone + QStringLiteral("\n\nDear ") +
         salutation + QStringLiteral(",\n\nThank you for your order.\n\nYours sincerely\n");
}

const QString kBlank = Letter({});
const QString kFull = Letter("Ms Ann Lee\nBuyer\nAcme Ltd", "1 Mill Lane\nLeeds LS1 4AB\nEngland",
                             "0113 496 0000\t0113 496 0001", "Lee");
const QString k440 = QStringLiteral(
    "An error has occured while trying to communicate with Word For Windows.  Check:\n\r\n\r"
    "1)  Word is running and a document is displayed\n\r"
    "2)  Any Bookmarks within the active Address Profile are present in the document.");

using Triples = std::vector<std::array<QString, 3>>;  // profile rows, or section, key, value
const QString kKeys[3] = {"Bookmark ", "Field ", "Separator "};
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

struct Case {
  const char* name;
  QStringList word = {kLetter};      // penlark-word's arguments
  QString language = {}, skip = {};  // in PENLARK.INI unless null
  Triples profile = kTwelve;
  QString chosen = "Business Letter";  // in the profile box
  QString search = "Lee";
  int position = 0;
  bool stopWord = false;
  QString document = kFull;
  QString title = {}, text = {};  // no title: no box, and true
  int style = 16;
};

using TransferTest = WordFixture;

TEST_F(TransferTest, WritesTheProfileRowsOrSaysWhyNot) {
  const QStringList word6 = {"--dialect", "word6", kLetter};
  const Case cases[] = {
      {.name = "word97"},
      {.name = "word6, no language", .word = word6},
      {.name = "word6 English", .word = word6, .language = "English"},
      // Goes to each bookmark too: the old German transfer never moved.
      {.name = "word6 German", .word = {"--dialect", "word6", "--language", "German", kLetter},
       .language = "German"},
      {.name = "word6, neither language", .word = word6, .language = "english", .document = kBlank},
      {.name = "blanks kept", .profile = kBlanks, .position = 1, .document = Letter(" Dan Lee", " \nYork")},
      {.name = "blanks kept, 0", .skip = "0", .profile = kBlanks, .position = 1,
       .document = Letter(" Dan Lee", " \nYork")},
      {.name = "blanks skipped, 1", .skip = "1", .profile = kBlanks, .position = 1,
       .document = Letter("Dan Lee", "York")},
      {.name = "blanks skipped, -1", .skip = "-1", .profile = kBlanks, .position = 1,
       .document = Letter("Dan Lee", "York")},
      // A first row without a bookmark writes where the selection was left: the start.
      {.name = "rows without field or bookmark",
       .profile = {{"", "", "»"}, {"Salutation", "", "Sir_or_Madam"}, {"", "Business/Company", "»¶_"}},
       .document = Letter("\t", "", "", "Sir or MadamAcme Ltd\t\n ")},
      {.name = "(-None-) first", .profile = {{"Name", "(-None-)", "_"}, {"Salutation", "Last Name", ""}},
       .document = kBlank},
      {.name = "position -1", .profile = {{"Salutation", "First Name", "/"}}, .position = -1,
       .document = Letter("", "", "", "Ann/")},
      {.name = "position 1", .profile = {{"Salutation", "First Name", "/"}}, .position = 1,
       .document = Letter("", "", "", "Dan/")},
      {.name = "word97 missing bookmark", .profile = kMissing, .document = Letter("Ann"),
       .title = "Transfer Error",
       .text = "A Bookmark that is present in the Business Letter Address Profile does not exist in the "
               "current document."},
      {.name = "word6 missing bookmark", .word = word6, .profile = kMissing, .document = Letter("Ann"),
       .title = "Transfer Error", .text = k440},
      {.name = "data changed", .position = 2, .document = kBlank, .title = "Address Data Change Detected",
       .text = "The Organizer address data has changed.\n\r\n\rPlease search for the addressee again to "
               "ensure you are using the most current address data.", .style = 48},
      {.name = "word ended", .stopWord = true, .title = "Transfer Error", .text = k440},
      {.name = "word97 without a document", .word = {}, .title = "Error  4248",
       .text = "This command is not available because no document is open."},
      {.name = "quote", .search = "Lee\")][Quit(", .document = kBlank, .title = "Penlark Error",
       .text = "The search text may not contain a double quote (\").\n\r\n\r"
               "Please remove the double quote and try again.", .style = 48},
      {.name = "no such profile", .chosen = "Private Letter", .document = kBlank,
       .title = "Blank Address Profile",
       .text = "No Address Profile has been selected.\n\r\n\rPlease select an Address Profile.", .style = 48},
  };
  const QString data = QStringLiteral(PENLARK_TEST_DATA "/word-addresses.json");
  const QString service = DdeServiceName(QStringLiteral("Organize200"));
  ASSERT_NE(bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), {data}, service), nullptr)
      << bus.lastError().toStdString();
  pv.OrganizerFilePath = data;
  pv.AddressSectionName = QStringLiteral("Address");
  ASSERT_TRUE(SetupOrganizerLink(pv));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.boxes.clear();
    QFile::remove(pv.ConfigFilePath);
    Write("Address Profiles", "0", "Business Letter");
    for (size_t r = 0; r < c.profile.size(); ++r)
      for (size_t k = 0; k < 3; ++k) Write("Profile 0", kKeys[k] + QString::number(r), c.profile[r][k]);
    if (!c.language.isNull()) Write("Language Settings", "Language", c.language);
    if (!c.skip.isNull()) Write("Options", "Skip Blank Fields", c.skip);
    cboAddressProfile->setEditText(c.chosen);
    ASSERT_NO_FATAL_FAILURE(StartWord(c.word));
    if (c.stopWord) {
      bus.Stop(std::exchange(word, nullptr));
      ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
    }

    const auto transfer = pv.WordVersion == QStringLiteral("6") ? TransferWordBasic : TransferWord8;
    EXPECT_EQ(transfer(pv, c.search, true, c.position), c.title.isEmpty());
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    if (c.title.isEmpty()) {
      EXPECT_TRUE(desktop.boxes.empty());
    } else {
      ExpectOneBox(c.title, c.text, c.style);
    }
    if (c.stopWord || !c.word.contains(kLetter)) continue;
    QString text;
    EXPECT_EQ(bus.Run(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--print-text")}, &text), 0);
    EXPECT_EQ(text, c.document);
  }
}

TEST(DecodeSeparatorTest, StoredCodesBecomeBlankParagraphAndTab) {
  const struct {
    QString stored, decoded;
  } cases[] = {{"", ""}, {"_", " "}, {"¶", "\r"}, {"»", "\t"}, {"»_»", "\t \t"}, {"a_b¶¶,", "a b\r\r,"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.toStdString());
    EXPECT_EQ(DecodeSeparator(c.stored), c.decoded);
  }
}

}  // namespace
