#include "organizer/OrganizerSearch.h"

#include "shared/frmError1.h"
#include "support/ProgramFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The search on the main window's controls, with the program-wide values pointing at the
// sample address book.
class OrganizerSearchTest : public ProgramFixture {
 protected:
  OrganizerSearchTest() {
    pv.OrganizerFilePath = kSample;
    pv.AddressSectionName = QStringLiteral("Address");
  }

  bool Search(const QString& text, bool bySurname = true) {
    m.txtSearchItem->setText(text);
    (bySurname ? m.optSurname : m.optCompany)->setChecked(true);
    return SearchOrganizer(pv);
  }

  const QString kSample = QStringLiteral(PENLARK_TEST_DATA "/addresses.json");
  const QString kOther = QStringLiteral(PENLARK_TEST_DATA "/other-addresses.json");
  const MainWindowControls& m = pv.main;
};

const std::vector<int> kHourglassOnly{Pointer::Hourglass, Pointer::Default};

// Twenty-five matches list ten and step once more; a field longer than a line edit holds by
// default (32767) arrives whole.
TEST_F(OrganizerSearchTest, TwentyFiveMatchesListTenAndALongValueComesWhole) {
  const QString company(40000, QLatin1Char('c'));
  QByteArray json = R"({"sections": [{"name": "Address", "records": [{"FirstName": "Al", "LastName": "Long", )"
                    R"("Company": ")" + company.toUtf8() + R"("})";
  QStringList expected;
  for (int i = 25; i >= 1; --i) {  // P01 Smith of C01 sorts first
    const QString n = QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
    json += QStringLiteral(R"(, {"FirstName": "P%1", "LastName": "Smith", "Company": "C%1"})").arg(n).toUtf8();
    if (i <= 10) expected.prepend("P" + n + " Smith, C" + n);
  }
  ASSERT_TRUE(PutBytes(pv.OrganizerFilePath = dir.filePath(QStringLiteral("smiths.json")), json + "]}]}"));
  ASSERT_NE(StartOrganizer({pv.OrganizerFilePath}), nullptr);
  ASSERT_TRUE(Search(QStringLiteral("smith")));
  EXPECT_EQ(Listed(), expected);
  EXPECT_EQ(RequestResult(*m.txtOrganizerPipe), 10);  // the step after the tenth entry has been made
  EXPECT_EQ(RequestItem(*m.txtOrganizerPipe, QStringLiteral("FirstName")), QStringLiteral("P11"));
  EXPECT_EQ(m.lstAddressee->currentRow(), 0);
  EXPECT_TRUE(m.lstAddressee->isEnabled() && m.cmdFinished->isEnabled() && m.cmdMore->isEnabled());
  EXPECT_EQ(desktop.pointerChanges, kHourglassOnly);
  ASSERT_TRUE(Search(QStringLiteral("long")));
  EXPECT_TRUE(m.lstAddressee->item(0)->text() == "Al Long, " + company);  // not printed: 40,000 characters
}

// Entries are "first last, company" as the address book gives them; a search that finds no
// one keeps the earlier result; an address book replaced with no search in between is
// searched again with no message. "lee" by surname: the first search of
// reliability.PartnerFaultTest.ASearchThatFailsHalfWayNeverSendsTheWrongPerson; by company:
// app.MainWindowTest.EnterSearchesMoreWritesTheChosenEntryAndExitWritesNothing. An address book that
// ended is reported once and then not found: reliability.PartnerFaultTest (each step of a
// search) and e2e.PenlarkWindows.ARestartedAddressBookIsSearchedAgain.
TEST_F(OrganizerSearchTest, EntriesANameNotFoundAndAReplacedAddressBook) {
  QProcess* organizer = StartOrganizer({kSample});
  const std::tuple<QString, bool, QStringList> rows[] = {  // search text, by surname, entries
      {"Mü", true, {"Frank Müller, Übersee GmbH"}},
      {"Young", true, {" Young,  Spaced Co "}},
      {"", true, {"Ann Lee, Acme Ltd", "Carol lee, Brown & Co", "Dan Lee, Acme Ltd", "Bob Leeds, ",  // [Find("")]:
                  "Frank Müller, Übersee GmbH", "John Smith, Beta Works", "John Smith, Alpha Mills",  // everyone
                  " Young,  Spaced Co "}},
  };
  for (const auto& [text, bySurname, entries] : rows) {
    SCOPED_TRACE(text.toStdString());
    ASSERT_TRUE(Search(text, bySurname));
    EXPECT_EQ(Listed(), entries);
    EXPECT_EQ(pv.LastSearchText + QString::number(pv.LastSearchBySurname), text + QString::number(bySurname));
  }

  ASSERT_TRUE(Search(QStringLiteral("lee")));
  m.lstAddressee->setCurrentRow(2);
  const QStringList earlier = Listed();
  desktop.pointerChanges.clear();
  EXPECT_FALSE(Search(QStringLiteral("Zebra"), false));
  EXPECT_EQ(desktop.pointerChanges, kHourglassOnly);
  EXPECT_EQ(m.lstAddressee->currentRow(), 2);
  EXPECT_EQ(m.txtSearchItem->selectedText(), QStringLiteral("Zebra"));
  ASSERT_EQ(Shown(desktop), QStringList{"Name not found|The Name entered in the 'Search For' box has not been found in "
                                        "the Organizer file.|32"});
  EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Hourglass);
  EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
  EXPECT_EQ(Listed(), earlier);
  EXPECT_EQ(pv.LastSearchText + QString::number(pv.LastSearchBySurname), QStringLiteral("lee1"));

  desktop = {};
  bus.Stop(organizer);
  ASSERT_TRUE(bus.WaitNameGone(DdeServiceName(QStringLiteral("Organize200"))));
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  EXPECT_TRUE(Search(QStringLiteral("smith")));
  EXPECT_EQ(Shown(desktop, false, true), QStringList());
  EXPECT_EQ(Listed(), QStringList({"John Smith, Beta Works", "John Smith, Alpha Mills"}));
}

// Each box with the pointer while it is shown (the hourglass of the search under way, or
// the arrow where the search has not begun or a box of the program's own is shown), or the
// access-error window's texts with the pointer while it is open. No address book running: reliability.PartnerFaultTest and
// e2e.PenlarkWindows.ARestartedAddressBookIsSearchedAgain, which also searches again once
// the address book is up; the window's keys and focus: tests/e2e.
TEST_F(OrganizerSearchTest, RefusalsAndErrorsKeepTheEarlierList) {
  const QString quote = QStringLiteral(" may not contain a double quote (\").\n\r\n\r"
                                       "Please remove the double quote and try again.|48");
  const QString accessError = QStringLiteral(
      "Penlark Error|Penlark is unable to access the selected Organizer data file.|Check:|The path to your "
      "Organizer data file is correctly entered in the File Path field of the Options screen|Organizer is running "
      "with the data file entered in the File Path of the Options screen loaded.|&OK|0");
  const struct {
    QStringList serving;
    QString section, text, box;  // no box: the access-error window instead
    const char* link;  // afterwards: whether it counts as open, and the DDE box's mode
  } cases[] = {
      {{kSample}, "Address", "Lee\")][SelectSection(\"Private", "Penlark Error|The search text" + quote + "|0", "0 0"},
      {{kSample}, "Address\")][Find(\"", "lee", "Penlark Error|The Address Section name" + quote + "|11", "0 0"},
      {{"--stall-command", "SelectSection", kSample}, "Address", "lee",
       "Fatal Error|Error 286 has occured in module \"SetupOrganizerLink.\"\n\r\n\r"
       "286 - Timeout occurred while waiting for DDE response|16|11", "0 2"},
      {{kSample}, "Business", "lee",
       "Penlark Error|An error has occured while trying to select an Organizer search index."
       "\n\r\n\rClose Penlark and Organizer and try again.|48|0", "1 2"},
      {{"--result-text", "many", kSample}, "Address", "lee",
       "Fatal Error|Error 290 has occured in module \"SearchOrganizer.\"\n\r\n\r"
       "290 - Data in wrong format|16|11", "1 2"},
      {{kOther}, "Address", "lee", {}, "0 0"},
  };
  m.lstAddressee->addItem(QStringLiteral("earlier entry"));
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    QProcess* organizer = StartOrganizer(c.serving);
    desktop = {};
    desktop.OnForm(QStringLiteral("frmError1"), [&](QDialog& form) {
      const frmError1& e = static_cast<frmError1&>(form);
      EXPECT_TRUE(e.Label1->font().bold());
      EXPECT_EQ(QStringList({e.windowTitle(), e.Label1->text(), e.Label2->text(), e.Label3->text(), e.Label4->text(),
                             e.cmdOK->text(), QString::number(desktop.MousePointer())}).join(u'|'), accessError);
      e.cmdOK->click();
    });
    pv.OrganizerLinkOpen = false;
    pv.AddressSectionName = c.section;
    EXPECT_FALSE(Search(c.text));
    EXPECT_EQ(Shown(desktop, true, true), QStringList{c.box.isEmpty() ? QStringLiteral("frmError1") : c.box});
    EXPECT_EQ(desktop.pointerChanges.empty(), c.text.contains(u'"'));  // before the hourglass
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    EXPECT_EQ(QStringLiteral("%1 %2").arg(pv.OrganizerLinkOpen).arg(m.txtOrganizerPipe->LinkMode()), c.link);
    EXPECT_EQ(Listed() << QString::number(m.lstAddressee->isEnabled()) << pv.LastSearchText,
              QStringList({"earlier entry", "0", ""}));
    bus.Stop(organizer);
  }
}

}  // namespace
