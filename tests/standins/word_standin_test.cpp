#include "bus/Automation.h"
#include "support/Shown.h"
#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <utility>

namespace {

const QString kWord = QStringLiteral(PENLARK_WORD_BIN);
const QString kLetter = QStringLiteral(PENLARK_TEST_DATA "/letter.txt");

// Bad arguments and unreadable letters refused, then --save-as writing the running
// document as it stands.
TEST(WordStandinTest, RefusesBadArgumentsAndSavesTheDocumentAsItStands) {
  PrivateBus bus;
  ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
  QTemporaryDir dir;
  const QString latin1 = dir.filePath(QStringLiteral("latin1.txt"));
  ASSERT_TRUE(PutBytes(latin1, "Dear M\xfcller"));
  const std::pair<QStringList, int> cases[] = {  // arguments, exit code
      {{"--dialect", "word2000"}, 2},      {{"--dialect", "word6", "--language", "French"}, 2},
      {{"--bogus"}, 2},                    {{kLetter, kLetter}, 2},
      {{"--print-text", "--save-as", "x.txt"}, 2}, {{"--print-text", kLetter}, 2},
      {{dir.filePath(QStringLiteral("missing.txt"))}, 1}, {{dir.path()}, 1},
      {{latin1}, 1},                       {{"--print-text"}, 1},  // nobody running
  };
  for (const auto& [arguments, exitCode] : cases) {
    SCOPED_TRACE(arguments.join(u' ').toStdString());
    QString err;
    EXPECT_EQ(bus.Run(kWord, arguments, nullptr, &err), exitCode);
    EXPECT_TRUE(err.startsWith(QStringLiteral("penlark-word: "))) << err.toStdString();
  }

  ASSERT_NE(bus.Start(kWord, {kLetter}, WindowClassName(QStringLiteral("OpusApp"))), nullptr)
      << bus.lastError().toStdString();
  GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection())
      .GetObject(QStringLiteral("Selection")).Call(QStringLiteral("InsertAfter"), {QStringLiteral("Mr\rSmith")});
  const QString saved = dir.filePath(QStringLiteral("saved.txt"));
  ASSERT_EQ(bus.Run(kWord, {QStringLiteral("--save-as"), saved}), 0);
  EXPECT_EQ(ReadBytes(saved).toStdString(),
            "Mr\nSmith\n\n\nPhone: \n\nDear ,\n\nThank you for your order.\n\nYours sincerely\n");
  EXPECT_EQ(bus.Run(kWord, {QStringLiteral("--save-as"), dir.filePath(QStringLiteral("no/such.txt"))}), 1);
}

}  // namespace
