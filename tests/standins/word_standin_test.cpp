#include "platform/Automation.h"
#include "platform/RuntimeError.h"
#include "support/PrivateBus.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kWord = QStringLiteral(PENLARK_WORD_BIN);
const QString kLetter = QStringLiteral(PENLARK_TEST_DATA "/letter.txt");

class WordStandinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString(); }

  QString PrintText() {
    QString out;
    EXPECT_EQ(bus.Run(kWord, {QStringLiteral("--print-text")}, &out), 0);
    return out;
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

TEST_F(WordStandinTest, SelectionGoesToBookmarksAndGrowsOverInsertedText) {
  ASSERT_NE(bus.Start(kWord, {kLetter}, WindowClassName(QStringLiteral("OpusApp"))), nullptr)
      << bus.lastError().toStdString();
  EXPECT_EQ(PrintText(), QStringLiteral("\n\n\nPhone: \n\nDear ,\n\nThank you for your order.\n\n"
                                        "Yours sincerely\n"));
  const AutomationObject word = GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
  const AutomationObject selection = word.GetObject(QStringLiteral("Selection"));
  selection.Call(QStringLiteral("GoTo"), {}, {{"What", -1}, {"Name", QStringLiteral("salutation")}});
  EXPECT_EQ(selection.Get(QStringLiteral("Text")).toString(), QString());
  selection.Call(QStringLiteral("InsertAfter"), {}, {{"Text", QStringLiteral("Mr")}});
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

  const struct {
    const char* method;
    QVariantList positional;
    QVariantMap named;
    int error;
  } refusals[] = {
      {"GoTo", {}, {{"What", -1}, {"Name", QStringLiteral("Nowhere")}}, 5101},
      {"GoTo", {}, {{"What", 1}}, 5},
      {"GoTo", {}, {{"What", -1}}, 449},
      {"InsertAfter", {}, {{"Txt", 1}}, 448},
      {"InsertAfter", {1, 2}, {}, 450},
      {"Paste", {}, {}, 438},
  };
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.method + std::to_string(r.error));
    try {
      selection.Call(QString::fromLatin1(r.method), r.positional, r.named);
      ADD_FAILURE() << "accepted";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), r.error) << error.what();
    }
  }
  EXPECT_EQ(PrintText(), filled);
}

}  // namespace
