#include "ReliabilityFixture.h"

#include "organizer/OrganizerLink.h"

#include <QListWidget>

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
      desktop = {};
      NewWindow();
      PrepareWindow(data);
      // Past the link set-up, whose own timeout is tried at step 1, calls give up soon.
      form->txtOrganizerPipe->SetLinkTimeout(3);
      if (step > 1) {
        ASSERT_TRUE(SetupOrganizerLink(pv));
        form->txtOrganizerPipe->SetLinkTimeout(3);
      }
      form->txtSearchItem->setText(QStringLiteral("lee"));
      bool endedProgram = false;
      try {
        form->cmdSearch_Click();
        if (step >= kSearchSteps) {
          EXPECT_EQ(form->lstAddressee->count(), 2);
          form->lstAddressee->setCurrentRow(1);
          form->cmdFinished_Click();
        }
      } catch (const ProgramEnded&) {
        endedProgram = true;
      }
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
      ASSERT_TRUE(PutBytes(Ini(), ini));
      Stop(organizer, DdeServiceName(QStringLiteral("Organize200")));
      Stop(word, WindowClassName(QStringLiteral("OpusApp")));
    }
  }
  ReportCases("address book ended or stalled", cases,
              "each step of a search and a transfer: the message, the program running, "
              "PENLARK.INI unchanged, the letter holding the rows written before");
}

}  // namespace
