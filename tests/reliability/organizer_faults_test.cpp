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
const QStringList kBob = {"Bob", "Lees", "Bolt Ltd", "York"};

QString Trap(const char* module, int number, const char* description) {
  return QStringLiteral("Fatal Error|Error %1 has occured in module \"%2\"\n\r\n\r%1 - %3|16")
      .arg(number).arg(QLatin1String(module), QLatin1String(description));
}

using AddressBookFaultTest = ReliabilityFixture;

// The address book ends (as in a crash) or stops answering at each step in turn; the
// step after the last is the run without a fault.
TEST_F(AddressBookFaultTest, EndedOrStalledAtEveryStepOfASearchAndATransfer) {
  const QString data = WriteAddressBook();
  const QString letter = WriteLetter();
  ASSERT_NO_FATAL_FAILURE(WriteConfiguration(data));
  const QByteArray ini = ReadBytes(Ini());
  int cases = 0;
  for (const char* fault : {"--end-after", "--stall-after"}) {
    const bool ended = QLatin1String(fault) == QLatin1String("--end-after");
    const int gone = ended ? 291 : 286;
    const char* why = ended ? "Foreign application quit" : "Timeout occurred while waiting for DDE response";
    for (int step = 0; step <= kSteps.size(); ++step) {
      SCOPED_TRACE(QStringLiteral("%1 %2 (%3)").arg(fault).arg(step).arg(kSteps.value(step, "no fault")).toStdString());
      ++cases;
      QProcess* word = StartWord({letter});
      QProcess* organizer = StartOrganizer({fault, QString::number(step), data});
      ASSERT_TRUE(word && organizer);
      FreshWindow(data);
      // Past the link set-up, whose own timeout is tried at step 1, calls give up soon.
      form->txtOrganizerPipe->SetLinkTimeout(3);
      if (step > 1) {
        ASSERT_TRUE(SetupOrganizerLink(pv));
        form->txtOrganizerPipe->SetLinkTimeout(3);
      }
      form->txtSearchItem->setText(QStringLiteral("lee"));
      form->cmdSearch_Click();
      if (step >= kSearchSteps) {
        EXPECT_EQ(form->lstAddressee->count(), 2);
        form->lstAddressee->setCurrentRow(1);
      }
      const bool endedProgram = step >= kSearchSteps && Finish();
      QString expected;
      if (step == kSteps.size()) expected = {};
      else if (step == 0) expected = QStringLiteral("frmError1");
      else if (step == 1) expected = Trap("SetupOrganizerLink.", gone, why);
      else if (step < kSearchSteps) expected = Trap("SearchOrganizer.", gone, why);
      else expected = QStringLiteral("Error  %1|%2|16").arg(gone).arg(QLatin1String(why));  // " 291", as Str$ has it
      EXPECT_EQ(Shown(desktop, false, true), expected.isEmpty() ? QStringList() : QStringList{expected});
      EXPECT_EQ(endedProgram, step == kSteps.size()) << "only a transfer that worked ends the program";
      EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
      const QByteArray after = ReadBytes(Ini());
      if (step < kSteps.size()) EXPECT_EQ(after, ini);
      else EXPECT_TRUE(after.startsWith(ini) && after.contains("[Recent Settings]"));
      const int rows = std::clamp(static_cast<int>(step) - kFirstRowStep, 0, 4);
      EXPECT_EQ(LetterText(), LetterWith(kBob, rows));
      EndCase(ini, word, organizer);
    }
  }
  ReportCases("address book ended or stalled", cases,
              "each step of a search and a transfer: the message, the program running, "
              "PENLARK.INI unchanged, the letter holding the rows written before");
}

// A search that fails half-way, while the address book keeps answering, never lets Finished
// write someone other than the person on screen. The first search ("lee", four entries)
// takes calls 1 to 26, the second ("smith", two entries) calls 27 to 40; one of the
// second's calls is refused.
TEST_F(AddressBookFaultTest, ASearchThatFailsHalfWayNeverSendsTheWrongPerson) {
  const QString data = QStringLiteral(PENLARK_TEST_DATA "/addresses.json");
  const QString letter = WriteLetter();
  ASSERT_NO_FATAL_FAILURE(WriteConfiguration(data));
  const QByteArray ini = ReadBytes(Ini());
  const QStringList ann = {"Ann", "Lee", "Acme Ltd", "Leeds"};
  const QStringList smith = {"John", "Smith", "Beta Works", ""};
  const struct {
    int refused;
    const char* what;
    QStringList listed;  // after the failed search; Finished then writes the first, or nothing
  } rows[] = {
      {28, "RESULT of the index", {"Ann Lee, Acme Ltd", "Carol lee, Brown & Co", "Dan Lee, Acme Ltd", "Bob Leeds, "}},
      {33, "first entry's Company", {}},
      {36, "second entry's FirstName", {}},
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
    QStringList listed;
    for (int i = 0; i < form->lstAddressee->count(); ++i) listed << form->lstAddressee->item(i)->text();
    EXPECT_EQ(listed, row.listed);
    EXPECT_EQ(form->cmdFinished->isEnabled() && form->cmdMore->isEnabled() && form->lstAddressee->isEnabled(),
              !row.listed.isEmpty());
    const bool ended = form->cmdFinished->isEnabled() && Finish();
    EXPECT_EQ(ended, !row.listed.isEmpty());
    EXPECT_EQ(LetterText(), LetterWith(ann, row.listed.isEmpty() ? 0 : 4)) << "only the person on screen";
    // The address book answers again: the same search lists in full and sends its first.
    if (!ended) {
      form->cmdSearch_Click();
      ASSERT_EQ(form->lstAddressee->count(), 2);
      EXPECT_EQ(form->lstAddressee->currentItem()->text(), QStringLiteral("John Smith, Beta Works"));
      EXPECT_THROW(form->cmdFinished_Click(), ProgramEnded);
      EXPECT_EQ(LetterText(), LetterWith(smith, 4));
    }
    EndCase(ini, word, organizer);
  }
  ReportCases("address book refused one call of a search", static_cast<int>(std::size(rows)),
              "a list that matches the search remembered or none; Finished never writes another person");
}

}  // namespace
