#include "ReliabilityFixture.h"

#include <QListWidget>

namespace {

// The word processor's calls per profile row: Selection, GoTo, Selection, InsertAfter.
constexpr int kCallsPerRow = 4;
constexpr int kRows = 4;
const QStringList kAnn = {"Ann", "Lee", "Acme", "Leeds"};
const QString k440 = QStringLiteral(
    "Transfer Error|An error has occured while trying to communicate with Word For Windows.  Check:\n\r\n\r"
    "1)  Word is running and a document is displayed\n\r"
    "2)  Any Bookmarks within the active Address Profile are present in the document.|16");

using WordFaultTest = ReliabilityFixture;

// The word processor ends (as in a crash) at each of its calls in turn, or stops
// answering at each row's insertion; the call after the last is the run without a fault.
TEST_F(WordFaultTest, EndedOrStalledAtEveryRowOfATransfer) {
  const QString data = WriteAddressBook();
  const QString letter = WriteLetter();
  ASSERT_NO_FATAL_FAILURE(WriteConfiguration(data));
  const QByteArray ini = ReadBytes(Ini());
  ASSERT_NE(StartOrganizer({data}), nullptr);
  struct Case {
    bool ended;
    int call;
  };
  std::vector<Case> cases;
  for (int call = 0; call <= kRows * kCallsPerRow; ++call) cases.push_back({true, call});
  for (int row = 0; row < kRows; ++row) cases.push_back({false, row * kCallsPerRow + kCallsPerRow - 1});
  for (const Case& c : cases) {
    SCOPED_TRACE((c.ended ? "ended at call " : "stalled at call ") + std::to_string(c.call));
    QProcess* word = StartWord({c.ended ? "--end-after" : "--stall-after", QString::number(c.call), letter});
    ASSERT_NE(word, nullptr);
    FreshWindow(data);
    form->txtSearchItem->setText(QStringLiteral("lee"));
    form->cmdSearch_Click();
    ASSERT_EQ(form->lstAddressee->count(), 2);
    const bool endedProgram = Finish();
    const bool fault = c.call < kRows * kCallsPerRow;
    EXPECT_EQ(Shown(desktop, false, true), fault ? QStringList{k440} : QStringList());
    EXPECT_EQ(endedProgram, !fault) << "only a transfer that worked ends the program";
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    if (fault) EXPECT_EQ(ReadBytes(Ini()), ini);
    // An ended word processor printed its document as it stood when it ended.
    const bool printed = c.ended && fault && word->waitForFinished(5000) && word->exitCode() == 3;
    EXPECT_EQ(printed, c.ended && fault);
    EXPECT_EQ(printed ? QString::fromUtf8(word->readAllStandardOutput()) : LetterText(),
              LetterWith(kAnn, c.call / kCallsPerRow));
    EndCase(ini, word);
  }
  ReportCases("word processor ended or stalled", static_cast<int>(cases.size()),
              "each call of each row (ended), each row's insertion (stalled): the message, the "
              "program running, PENLARK.INI unchanged, the letter holding the rows written before");
}

}  // namespace
