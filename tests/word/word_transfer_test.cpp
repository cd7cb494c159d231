#include "word/WordTransfer.h"

#include "WordFixture.h"

#include <optional>

namespace {

const QString kBlankLetter = QStringLiteral(
    "\n\n\nPhone: \n\nDear ,\n\nThank you for your order.\n\nYours sincerely\n");

// Ms Ann Lee of Acme: every row shape at once, bookmarks and continuations.
const std::vector<WordFixture::Row> kFullProfile = {
    {"Name", "Business/Title", "_"},    {"", "First Name", "_"},
    {"", "Last Name", "¶"},             {"", "Business/Position", "¶"},
    {"", "Business/Company", ""},       {"Address", "Business/Address", "¶"},
    {"", "Business/City", "_"},         {"", "Business/Zip", "¶"},
    {"", "Business/Country", ""},       {"Phone", "Business/Phone", "»"},
    {"", "Business/Fax", ""},           {"Salutation", "Last Name", ""},
};
const QString kFullLetter = QStringLiteral(
    "Ms Ann Lee\nBuyer\nAcme Ltd\n1 Mill Lane\nLeeds LS1 4AB\nEngland\n\n"
    "Phone: 0113 496 0000\t0113 496 0001\n\nDear Lee,\n\nThank you for your order.\n\n"
    "Yours sincerely\n");

const QString k440Text = QStringLiteral(
    "An error has occured while trying to communicate with Word For Windows.  Check:\n\r\n\r"
    "1)  Word is running and a document is displayed\n\r"
    "2)  Any Bookmarks within the active Address Profile are present in the document.");

class TransferTest : public WordFixture {
 protected:
  bool Transfer(int position = 0, const QString& search = QStringLiteral("Lee")) {
    const bool result = pv.WordVersion == QStringLiteral("6")
                            ? TransferWordBasic(pv, search, true, position)
                            : TransferWord8(pv, search, true, position);
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    return result;
  }

  // A fresh document for each row of a table.
  void RestartWord(QProcess*& word, const QStringList& arguments, bool wordBasic = false) {
    if (word) {
      bus.Stop(word);
      ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
    }
    word = StartWord(arguments, wordBasic);
    ASSERT_NE(word, nullptr);
  }

  void ExpectOneBox(const QString& title, const QString& text, int style) {
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, title);
    EXPECT_EQ(desktop.boxes[0].text, text);
    EXPECT_EQ(desktop.boxes[0].style, style);
    EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Default);
  }
};

struct Dialect {
  const char* name;
  QStringList arguments;
  bool wordBasic;
  std::optional<QString> language;  // nothing: no "Language Settings" at all
  QString letter = kFullLetter;
};

void PrintTo(const Dialect& dialect, std::ostream* os) { *os << dialect.name; }

class DialectTest : public TransferTest, public ::testing::WithParamInterface<Dialect> {};

TEST_P(DialectTest, TwelveRowProfileFillsTheLetter) {
  ASSERT_NO_FATAL_FAILURE(StartOrganizer());
  ASSERT_NE(StartWord(QStringList(GetParam().arguments) << Letter(), GetParam().wordBasic), nullptr);
  if (GetParam().language)
    Write(QStringLiteral("Language Settings"), QStringLiteral("Language"), *GetParam().language);
  WriteProfile(QStringLiteral("Business Letter"), kFullProfile);

  EXPECT_TRUE(Transfer());
  EXPECT_EQ(DocumentText(), GetParam().letter);
  EXPECT_TRUE(desktop.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Dialects, DialectTest,
    ::testing::Values(
        Dialect{"Word8", {}, false, std::nullopt},
        Dialect{"WordBasicDefault", {"--dialect", "word6"}, true, std::nullopt},
        Dialect{"WordBasicEnglish", {"--dialect", "word6"}, true, QStringLiteral("English")},
        // Goes to each bookmark too: the old German transfer never moved.
        Dialect{"WordBasicGerman", {"--dialect", "word6", "--language", "German"}, true,
                QStringLiteral("German")},
        Dialect{"WordBasicOtherLanguage", {"--dialect", "word6"}, true, QStringLiteral("english"),
                kBlankLetter}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransferTest, BlankFieldsSkippedOnlyWhenTheOptionIsOn) {
  ASSERT_NO_FATAL_FAILURE(StartOrganizer());
  // Dan Lee has no title and no address. Skipping still moves to the row's bookmark.
  const std::vector<Row> profile = {{"Name", "Business/Title", "_"}, {"", "First Name", "_"},
                                    {"", "Last Name", ""}, {"Address", "Business/Address", "_¶"},
                                    {"", "Business/City", ""}};
  const QString skipped = QStringLiteral("Dan Lee\nYork\n\nPhone: ");
  const QString kept = QStringLiteral(" Dan Lee\n \nYork\n\nPhone: ");
  const struct {
    std::optional<QString> option;
    QString letterStart;
  } cases[] = {{std::nullopt, kept}, {"0", kept}, {"1", skipped}, {"2", skipped}, {"-1", skipped}};
  QProcess* word = nullptr;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option.value_or("(missing)").toStdString());
    ASSERT_NO_FATAL_FAILURE(RestartWord(word, {Letter()}));
    if (c.option) Write(QStringLiteral("Options"), QStringLiteral("Skip Blank Fields"), *c.option);
    WriteProfile(QStringLiteral("Business Letter"), profile);
    EXPECT_TRUE(Transfer(1));
    EXPECT_TRUE(DocumentText().startsWith(c.letterStart)) << DocumentText().toStdString();
  }
}

TEST_F(TransferTest, RowsWithoutBookmarkOrFieldInsertTheirSeparator) {
  ASSERT_NO_FATAL_FAILURE(StartOrganizer());
  ASSERT_NE(StartWord({Letter()}), nullptr);
  // A first row without a bookmark writes where the user left the selection: the start.
  WriteProfile(QStringLiteral("Business Letter"),
               {{"", "", "»"}, {"Salutation", "", "Sir_or_Madam"}, {"", "Business/Company", "»¶_"}});

  EXPECT_TRUE(Transfer());
  EXPECT_EQ(DocumentText(), QStringLiteral("\t\n\n\nPhone: \n\nDear Sir or MadamAcme Ltd\t\n ,\n\n"
                                           "Thank you for your order.\n\nYours sincerely\n"));
}

TEST_F(TransferTest, NoneRowEndsTheProfile) {
  ASSERT_NO_FATAL_FAILURE(StartOrganizer());
  ASSERT_NE(StartWord({Letter()}), nullptr);
  WriteProfile(QStringLiteral("Business Letter"),
               {{"Name", "(-None-)", "_"}, {"Salutation", "Last Name", ""}});

  EXPECT_TRUE(Transfer());
  EXPECT_EQ(DocumentText(), kBlankLetter);
}

TEST_F(TransferTest, PositionPicksTheMatchAndMinusOneCountsAsFirst) {
  ASSERT_NO_FATAL_FAILURE(StartOrganizer());
  ASSERT_NE(StartWord({Letter()}), nullptr);
  WriteProfile(QStringLiteral("Business Letter"), {{"Salutation", "First Name", "/"}});
  QString salutation;
  const struct {
    int position;
    QString name;
  } cases[] = {{0, "Ann"}, {-1, "Ann"}, {1, "Dan"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    EXPECT_TRUE(Transfer(c.position));
    salutation += c.name + u'/';
    EXPECT_TRUE(DocumentText().contains(QStringLiteral("Dear ") + salutation + u','));
  }
}

TEST_F(TransferTest, ChangedAddressDataLeavesTheDocumentAlone) {
  ASSERT_NO_FATAL_FAILURE(StartOrganizer());
  ASSERT_NE(StartWord({Letter()}), nullptr);
  WriteProfile(QStringLiteral("Business Letter"), kFullProfile);
  const struct {
    QString search;
    int position;
  } cases[] = {{"Lee", 2}, {"Nobody", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.search.toStdString());
    desktop.boxes.clear();
    EXPECT_FALSE(Transfer(c.position, c.search));
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Address Data Change Detected"));
    EXPECT_EQ(DocumentText(), kBlankLetter);
  }
}

TEST_F(TransferTest, MissingBookmarkNamesTheProfileAndKeepsEarlierRows) {
  ASSERT_NO_FATAL_FAILURE(StartOrganizer());
  QProcess* word = nullptr;
  const std::vector<Row> profile = {{"Name", "First Name", ""}, {"Nowhere", "Last Name", ""},
                                    {"Salutation", "Last Name", ""}};
  const QString afterName = QStringLiteral("Ann") + kBlankLetter;
  const QString namesProfile = QStringLiteral(
      "A Bookmark that is present in the Business Letter Address Profile does not exist in the "
      "current document.");
  for (const bool wordBasic : {false, true}) {
    SCOPED_TRACE(wordBasic ? "WordBasic" : "Word8");
    desktop.boxes.clear();
    QStringList arguments{Letter()};
    if (wordBasic) arguments << QStringLiteral("--dialect") << QStringLiteral("word6");
    ASSERT_NO_FATAL_FAILURE(RestartWord(word, arguments, wordBasic));
    WriteProfile(QStringLiteral("Business Letter"), profile);
    EXPECT_FALSE(Transfer());
    ExpectOneBox(QStringLiteral("Transfer Error"), wordBasic ? k440Text : namesProfile, 16);
    EXPECT_EQ(DocumentText(), afterName);
  }
}

TEST_F(TransferTest, WordGoneOrWithoutDocument) {
  ASSERT_NO_FATAL_FAILURE(StartOrganizer());
  WriteProfile(QStringLiteral("Business Letter"), kFullProfile);
  const struct {
    const char* name;
    QStringList arguments;
    bool wordBasic, stop;
    QString title, text;
  } cases[] = {
      {"ended", {Letter()}, false, true, QStringLiteral("Transfer Error"), k440Text},
      {"no document", {}, false, false, QStringLiteral("Error  4248"),
       QStringLiteral("This command is not available because no document is open.")},
      {"WordBasic, no document", {"--dialect", "word6"}, true, false, QStringLiteral("Transfer Error"),
       QStringLiteral("Penlark cannot transfer address data to Word.\n\r\n\r"
                      "Check there is an open document within Word")},
  };
  QProcess* word = nullptr;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.boxes.clear();
    ASSERT_NO_FATAL_FAILURE(RestartWord(word, c.arguments, c.wordBasic));
    if (c.stop) {
      bus.Stop(word);
      ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
      word = nullptr;
    }
    EXPECT_FALSE(Transfer());
    ExpectOneBox(c.title, c.text, 16);
  }
}

// Neither refusal may reach the address book: none runs, so any command sent would fail
// with a box of its own.
TEST_F(TransferTest, RefusedBeforeAnythingIsSent) {
  ASSERT_NE(StartWord({Letter()}), nullptr);
  WriteProfile(QStringLiteral("Business Letter"), kFullProfile);
  const struct {
    QString profile, search, title;
  } cases[] = {{"Private Letter", "Lee", "Blank Address Profile"},
               {"", "Lee", "Blank Address Profile"},
               {"Business Letter", "Lee\")][Quit(", "Penlark Error"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.profile.toStdString() + " / " + c.search.toStdString());
    desktop.boxes.clear();
    cboAddressProfile->setEditText(c.profile);
    EXPECT_FALSE(Transfer(0, c.search));
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, c.title);
  }
  EXPECT_EQ(DocumentText(), kBlankLetter);
}

TEST(DecodeSeparatorTest, StoredCodesBecomeBlankParagraphAndTab) {
  const struct {
    QString stored, decoded;
  } cases[] = {{"", ""},          {"_", " "},         {"¶", "\r"},         {"»", "\t"},
               {"_¶", " \r"},     {"»_»", "\t \t"},   {", ", ", "},        {"a_b¶¶", "a b\r\r"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.toStdString());
    EXPECT_EQ(DecodeSeparator(c.stored), c.decoded);
  }
}

}  // namespace
