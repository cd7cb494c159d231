#include "ReliabilityFixture.h"

#include "organizer/OrganizerLink.h"

#include <QListWidget>
#include <QPushButton>

namespace {

// The address book's calls of one search for "lee" (two matches) from a closed link and
// of the transfer of the second match that follows, in order.
const QStringList kSteps = {
    "Initiate", "SelectSection", "SelectIndex", "RESULT", "Find", "RESULT",
    "FirstName", "LastName", "Company", "Find <NEXT>", "RESULT",            // Ann Lee
    "FirstName", "LastName", "Company", "Find <NEXT>", "RESULT",            // Bob Lees, the end
    "SelectIndex", "Find", "RESULT", "Find <NEXT>", "RESULT",               // the transfer
    "FirstName", "LastName", "Company", "City"};
constexpr int kSearchSteps = 16;
constexpr int kFirstRowStep = 21;
// The word processor's calls per profile row: Selection, GoTo, Selection, InsertAfter.
constexpr int kCallsPerRow = 4;
constexpr int kWordCalls = 4 * kCallsPerRow;
const QStringList kBob = {"Bob", "Lees", "Bolt Ltd", "York"};
const QString k440 = QStringLiteral(
    "Transfer Error|An error has occured while trying to communicate with Word For Windows.  Check:\n\r\n\r"
    "1)  Word is running and a document is displayed\n\r"
    "2)  Any Bookmarks within the active Address Profile are present in the document.|16");

QString Trap(const char* module, int number, const char* description) {
  return QStringLiteral("Fatal Error|Error %1 has occured in module \"%2\"\n\r\n\r%1 - %3|16")
      .arg(number).arg(QLatin1String(module), QLatin1String(description));
}

using PartnerFaultTest = ReliabilityFixture;

// A partner ends (as in a crash) or stops answering: the address book at each step in
// turn, the word processor at each of its calls or at each row's insertion. The step after
// the last is the run without a fault.
TEST_F(PartnerFaultTest, EndedOrStalledAtEveryStepOfASearchAndATransfer) {
  const QString data = WriteAddressBook();
  const QString letter = WriteLetter();
  ASSERT_NO_FATAL_FAILURE(WriteConfiguration(data));
  const QByteArray ini = ReadBytes(Ini());
  std::vector<std::tuple<bool, bool, int>> faults;  // in the word processor, ended, at step
  for (bool ended : {true, false})
    for (int step = 0; step <= kSteps.size(); ++step) faults.emplace_back(false, ended, step);
  for (int call = 0; call <= kWordCalls; ++call) faults.emplace_back(true, true, call);
  for (int call = kCallsPerRow - 1; call < kWordCalls; call += kCallsPerRow) faults.emplace_back(true, false, call);
  int cases[2] = {};
  for (const auto& [inWord, ended, step] : faults) {
    const QStringList fault = {ended ? "--end-after" : "--stall-after", QString::number(step)};
    SCOPED_TRACE(QStringLiteral("%1 %2 %3 (%4)").arg(inWord ? "word" : "organizer", fault.join(u' '))
                     .arg(inWord ? QString() : kSteps.value(step, "no fault")).toStdString());
    ++cases[inWord];
    QProcess* word = StartWord((inWord ? fault : QStringList()) + QStringList{letter});
    QProcess* organizer = StartOrganizer((inWord ? QStringList() : fault) + QStringList{data});
    ASSERT_TRUE(word && organizer);
    FreshWindow(data);
    // Past the link set-up, whose own timeout is tried at step 1, calls give up soon.
    form->txtOrganizerPipe->SetLinkTimeout(3);
    if (!inWord && step > 1) {
      ASSERT_TRUE(SetupOrganizerLink(pv));
      form->txtOrganizerPipe->SetLinkTimeout(3);
    }
    form->txtSearchItem->setText(QStringLiteral("lee"));
    form->cmdSearch_Click();
    const bool searched = inWord || step >= kSearchSteps;
    if (searched) {
      EXPECT_EQ(form->lstAddressee->count(), 2);
      form->lstAddressee->setCurrentRow(1);
    }
    const bool endedProgram = searched && Finish();
    const bool faulty = step < (inWord ? kWordCalls : kSteps.size());
    const int gone = ended ? 291 : 286;
    const char* why = ended ? "Foreign application quit" : "Timeout occurred while waiting for DDE response";
    QString expected;
    if (!faulty) expected = {};
    else if (inWord) expected = k440;
    else if (step == 0) expected = QStringLiteral("frmError1");
    else if (step == 1) expected = Trap("SetupOrganizerLink.", gone, why);
    else if (step < kSearchSteps) expected = Trap("SearchOrganizer.", gone, why);
    else expected = QStringLiteral("Error  %1|%2|16").arg(gone).arg(QLatin1String(why));  // " 291", as Str$ has it
    EXPECT_EQ(Shown(desktop, false, true), expected.isEmpty() ? QStringList() : QStringList{expected});
    EXPECT_EQ(endedProgram, !faulty) << "only a transfer that worked ends the program";
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    const QByteArray after = ReadBytes(Ini());
    if (faulty) EXPECT_EQ(after, ini);
    else EXPECT_TRUE(after.startsWith(ini) && after.contains("[Recent Settings]"));
    // An ended word processor printed its document as it stood when it ended.
    const bool printed = inWord && ended && faulty && word->waitForFinished(5000) && word->exitCode() == 3;
    EXPECT_EQ(printed, inWord && ended && faulty);
    const int rows = inWord ? step / kCallsPerRow : std::clamp(step - kFirstRowStep, 0, 4);
    EXPECT_EQ(printed ? QString::fromUtf8(word->readAllStandardOutput()) : LetterText(), LetterWith(kBob, rows));
    EndCase(ini, word, organizer);
  }
  ReportCases("address book ended or stalled", cases[0],
              "each step of a search and a transfer: the message, the program running, "
              "PENLARK.INI unchanged, the letter holding the rows written before");
  ReportCases("word processor ended or stalled", cases[1],
              "each call of each row (ended), each row's insertion (stalled): the message, the "
              "program running, PENLARK.INI unchanged, the letter holding the rows written before");
}

// A search that fails half-way, while the address book keeps answering, never lets Finished
// write someone other than the person on screen. The first search ("lee", four entries)
// takes calls 1 to 26, the second ("smith", two entries) calls 27 to 40; one of the
// second's calls is refused: before its list is cleared, or with none or two of its
// entries listed.
TEST_F(PartnerFaultTest, ASearchThatFailsHalfWayNeverSendsTheWrongPerson) {
  const QString data = QStringLiteral(PENLARK_TEST_DATA "/addresses.json");
  const QString letter = WriteLetter();
  ASSERT_NO_FATAL_FAILURE(WriteConfiguration(data));
  const QByteArray ini = ReadBytes(Ini());
  const struct {
    int refused;
    const char* what;
    QStringList listed;  // after the failed search; Finished then writes the first, or nothing
  } rows[] = {
      {28, "RESULT of the index", {"Ann Lee, Acme Ltd", "Carol lee, Brown & Co", "Dan Lee, Acme Ltd", "Bob Leeds, "}},
      {33, "first entry's Company", {}},
      {39, "step to the third", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    QProcess* word = StartWord({letter});
    QProcess* organizer = StartOrganizer({"--refuse-at", QString::number(row.refused), data});
    ASSERT_TRUE(word && organizer);
    FreshWindow(data);
    form->txtSearchItem->setText(QStringLiteral("lee"));
    form->cmdSearch_Click();
    ASSERT_EQ(form->lstAddressee->count(), 4);
    form->txtSearchItem->setText(QStringLiteral("smith"));
    form->cmdSearch_Click();
    EXPECT_EQ(Shown(desktop, false, true),
              QStringList{Trap("SearchOrganizer.", 285, "Foreign application won't perform DDE method or operation")});
    EXPECT_EQ(Listed(), row.listed);
    EXPECT_EQ(form->cmdFinished->isEnabled() && form->cmdMore->isEnabled() && form->lstAddressee->isEnabled(),
              !row.listed.isEmpty());
    const bool ended = form->cmdFinished->isEnabled() && Finish();
    EXPECT_EQ(ended, !row.listed.isEmpty());
    EXPECT_EQ(LetterText(), LetterWith({"Ann", "Lee", "Acme Ltd", "Leeds"}, row.listed.isEmpty() ? 0 : 4))
        << "only the person on screen";
    // The address book answers again: the same search lists in full and sends its first.
    if (!ended) {
      form->cmdSearch_Click();
      ASSERT_EQ(form->lstAddressee->count(), 2);
      EXPECT_EQ(form->lstAddressee->currentItem()->text(), QStringLiteral("John Smith, Beta Works"));
      EXPECT_THROW(form->cmdFinished_Click(), ProgramEnded);
      EXPECT_EQ(LetterText(), LetterWith({"John", "Smith", "Beta Works", ""}, 4));
    }
    EndCase(ini, word, organizer);
  }
  ReportCases("address book refused one call of a search", static_cast<int>(std::size(rows)),
              "a list that matches the search remembered or none; Finished never writes another person");
}

}  // namespace
