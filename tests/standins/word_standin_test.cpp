#include "platform/Automation.h"
#include "platform/RuntimeError.h"
#include "support/PrivateBus.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace {

const QString kWord = QStringLiteral(PENLARK_WORD_BIN);
const QString kLetter = QStringLiteral(PENLARK_TEST_DATA "/letter.txt");
const QString kBlankLetter = QStringLiteral(
    "\n\n\nPhone: \n\nDear ,\n\nThank you for your order.\n\nYours sincerely\n");

class WordStandinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString(); }

  QProcess* Start(const QStringList& arguments) {
    QProcess* word = bus.Start(kWord, arguments, WindowClassName(QStringLiteral("OpusApp")));
    EXPECT_NE(word, nullptr) << bus.lastError().toStdString();
    return word;
  }

  QString PrintText() {
    QString out;
    EXPECT_EQ(bus.Run(kWord, {QStringLiteral("--print-text")}, &out), 0);
    return out;
  }

  static void ExpectError(const std::function<void()>& call, int number, const char* description = nullptr) {
    try {
      call();
      ADD_FAILURE() << "no error, expected " << number;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), number) << error.what();
      if (description) {
        EXPECT_EQ(error.description().toStdString(), description);
      }
    }
  }

  AutomationObject Word8() { return GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection()); }
  AutomationObject WordBasic() { return CreateAutomationObject(QStringLiteral("Word.Basic"), bus.connection()); }

  static QVariantMap GoTo(const QString& name) {
    return {{QStringLiteral("What"), -1}, {QStringLiteral("Name"), name}};
  }

  PrivateBus bus;
  QTemporaryDir dir;
};

TEST_F(WordStandinTest, RefusesBadArgumentsAndUnreadableLetters) {
  QFile latin1(dir.filePath(QStringLiteral("latin1.txt")));
  ASSERT_TRUE(latin1.open(QIODevice::WriteOnly));
  latin1.write("Dear M\xfcller");
  latin1.close();
  const struct {
    QStringList arguments;
    int exitCode;
  } cases[] = {
      {{"--dialect", "word2000"}, 2},
      {{"--dialect", "word6", "--language", "French"}, 2},
      {{"--bogus"}, 2},
      {{kLetter, kLetter}, 2},
      {{"--print-text", "--save-as", "x.txt"}, 2},
      {{"--print-text", kLetter}, 2},
      {{dir.filePath(QStringLiteral("missing.txt"))}, 1},
      {{dir.path()}, 1},
      {{latin1.fileName()}, 1},
      {{"--print-text"}, 1},  // nobody running
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    QString err;
    EXPECT_EQ(bus.Run(kWord, c.arguments, nullptr, &err), c.exitCode);
    EXPECT_TRUE(err.startsWith(QStringLiteral("penlark-word: "))) << err.toStdString();
  }
}

TEST_F(WordStandinTest, ASecondInstanceFindsTheNamesTaken) {
  ASSERT_NE(Start({kLetter}), nullptr);
  QString err;
  EXPECT_EQ(bus.Run(kWord, {QStringLiteral("--dialect"), QStringLiteral("word6")}, nullptr, &err), 1);
  EXPECT_TRUE(err.contains(QStringLiteral("org.penlark.window.OpusApp is taken"))) << err.toStdString();
}

TEST_F(WordStandinTest, SelectionGoesToBookmarksAndGrowsOverInsertedText) {
  ASSERT_NE(Start({kLetter}), nullptr);
  EXPECT_EQ(PrintText(), kBlankLetter);
  const AutomationObject word = Word8();
  EXPECT_EQ(word.GetObject(QStringLiteral("Application")).Get(QStringLiteral("Version")).toString(),
            QStringLiteral("8.0"));
  EXPECT_EQ(word.Get(QStringLiteral("ActiveDocument")).toString(), QStringLiteral("letter.txt"));
  const AutomationObject selection = word.GetObject(QStringLiteral("Selection"));
  selection.Call(QStringLiteral("GoTo"), {}, GoTo(QStringLiteral("salutation")));
  EXPECT_EQ(selection.Get(QStringLiteral("Text")).toString(), QString());
  selection.Call(QStringLiteral("InsertAfter"), {}, {{QStringLiteral("Text"), QStringLiteral("Mr")}});
  selection.Call(QStringLiteral("InsertAfter"), {QStringLiteral("\rJ\tSmith")});
  EXPECT_EQ(selection.Get(QStringLiteral("Text")).toString(), QStringLiteral("Mr\nJ\tSmith"));
  // The bookmark stays after the text put at it.
  selection.Call(QStringLiteral("GoTo"), {-1, 1, 1, QStringLiteral("Salutation")});
  selection.Call(QStringLiteral("InsertAfter"), {QStringLiteral("!")});
  const QString filled = QStringLiteral(
      "\n\n\nPhone: \n\nDear Mr\nJ\tSmith!,\n\nThank you for your order.\n\nYours sincerely\n");
  EXPECT_EQ(PrintText(), filled);
  const QString saved = dir.filePath(QStringLiteral("saved.txt"));
  ASSERT_EQ(bus.Run(kWord, {QStringLiteral("--save-as"), saved}), 0);
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(file.readAll()), filled);
  EXPECT_EQ(bus.Run(kWord, {QStringLiteral("--save-as"), dir.filePath(QStringLiteral("no/such.txt"))}), 1);

  ExpectError([&] { selection.Call(QStringLiteral("GoTo"), {}, GoTo(QStringLiteral("Nowhere"))); },
              5101, "This bookmark does not exist.");
  ExpectError([&] { selection.Call(QStringLiteral("GoTo"), {}, {{QStringLiteral("What"), 1}}); }, 5);
  ExpectError([&] { selection.Call(QStringLiteral("GoTo"), {}, {{QStringLiteral("What"), -1}}); }, 449);
  ExpectError([&] { selection.Call(QStringLiteral("InsertAfter"), {}, {{QStringLiteral("Txt"), 1}}); }, 448);
  ExpectError([&] { selection.Call(QStringLiteral("InsertAfter"), {1, 2}); }, 450);
  ExpectError([&] { selection.Call(QStringLiteral("Paste")); }, 438);
  ExpectError([&] { word.Get(QStringLiteral("Documents")); }, 438);
}

TEST_F(WordStandinTest, NoDocumentOpen) {
  ASSERT_NE(Start({}), nullptr);
  const char* noDocument = "This command is not available because no document is open.";
  ExpectError([&] { Word8().Get(QStringLiteral("ActiveDocument")); }, 4248, noDocument);
  ExpectError([&] { Word8().GetObject(QStringLiteral("Selection")); }, 4248, noDocument);
  QString err;
  EXPECT_EQ(bus.Run(kWord, {QStringLiteral("--print-text")}, nullptr, &err), 1);
  EXPECT_TRUE(err.contains(QString::fromLatin1(noDocument))) << err.toStdString();
}

TEST_F(WordStandinTest, WordBasicCommandsInEitherLanguage) {
  const struct {
    const char* language;
    QString goTo, insert, otherInsert;
  } cases[] = {{"English", "EditGoTo", "Insert", "Einfügen"},
               {"German", "BearbeitenGeheZu", "Einfügen", "Insert"}};
  QProcess* word = nullptr;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    if (word) {
      bus.Stop(word);
      ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
    }
    word = Start({"--dialect", "word6", "--language", c.language, kLetter});
    ASSERT_NE(word, nullptr);
    EXPECT_FALSE(bus.HasName(RunningObjectName(QStringLiteral("Word.Application.8"))));
    const AutomationObject basic = WordBasic();
    basic.Call(c.goTo, {QStringLiteral("Salutation")});
    basic.Call(c.insert, {QStringLiteral("Ann")});
    basic.Call(c.insert, {QStringLiteral("\r\nLee")});  // the insertion point follows the text
    ExpectError([&] { basic.Call(c.otherInsert, {QStringLiteral("x")}); }, 438);
    ExpectError([&] { basic.Call(c.goTo, {QStringLiteral("Nowhere")}); }, 440);
    EXPECT_EQ(PrintText(), QStringLiteral("\n\n\nPhone: \n\nDear Ann\nLee,\n\n"
                                          "Thank you for your order.\n\nYours sincerely\n"));
  }
  bus.Stop(word);
  ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
  ASSERT_NE(Start({"--dialect", "word6"}), nullptr);
  ExpectError([&] { WordBasic().Call(QStringLiteral("Insert"), {QStringLiteral("x")}); }, 5003);
}

TEST_F(WordStandinTest, WindowAndObjectsGoWithTheProcess) {
  ExpectError([&] { Word8(); }, 429);
  ExpectError([&] { WordBasic(); }, 429);
  QProcess* word = Start({kLetter});
  ASSERT_NE(word, nullptr);
  const QString opusApp = QStringLiteral("OpusApp");
  EXPECT_NE(FindWindowA(opusApp, QString(), bus.connection()), 0u);
  EXPECT_NE(FindWindowA(opusApp, QStringLiteral("letter.txt - penlark-word"), bus.connection()), 0u);
  EXPECT_EQ(FindWindowA(opusApp, QStringLiteral("Untitled"), bus.connection()), 0u);
  const AutomationObject object = Word8();

  bus.Stop(word);
  EXPECT_EQ(word->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(word->exitCode(), 0);
  ASSERT_TRUE(bus.WaitNameGone(WindowClassName(opusApp)));
  EXPECT_EQ(FindWindowA(opusApp, QString(), bus.connection()), 0u);
  ExpectError([&] { object.Get(QStringLiteral("Version")); }, 440, "Automation error");
}

}  // namespace
