#include "organizer/OrganizerSearch.h"

#include "organizer/OrganizerFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

using OrganizerSearchTest = OrganizerFixture;
const std::vector<int> kHourglassOnly{Pointer::Hourglass, Pointer::Default};

TEST_F(OrganizerSearchTest, TwentyFiveMatchesListTenAndStepOnceMore) {
  QJsonArray records;  // P01 Smith of C01 sorts first
  for (int i = 25; i >= 1; --i) {
    const QString n = QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
    records.append(
        QJsonObject{{"FirstName", "P" + n}, {"LastName", "Smith"}, {"Company", "C" + n}});
  }
  QTemporaryDir dir;
  pv.OrganizerFilePath = dir.filePath(QStringLiteral("smiths.json"));
  QFile file(pv.OrganizerFilePath);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QJsonDocument(QJsonObject{{"sections", QJsonArray{QJsonObject{
                               {"name", "Address"}, {"records", records}}}}}).toJson());
  file.close();
  ASSERT_NE(StartOrganizer({pv.OrganizerFilePath}), nullptr);
  ASSERT_TRUE(Search(QStringLiteral("smith")));
  QStringList expected;
  for (int i = 1; i <= 10; ++i)
    expected << QStringLiteral("P%1 Smith, C%1").arg(i, 2, 10, QChar(u'0'));
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(RequestResult(pv), 10);  // the step after the tenth entry has been made
  EXPECT_EQ(RequestItem(pv, QStringLiteral("FirstName")), QStringLiteral("P11"));
  EXPECT_EQ(m.lstAddressee->currentRow(), 0);
  EXPECT_TRUE(m.lstAddressee->isEnabled() && m.cmdFinished->isEnabled() && m.cmdMore->isEnabled());
  EXPECT_EQ(desktop.pointerChanges, kHourglassOnly);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OrganizerSearchTest, EntriesAreFirstLastCompanyUntrimmed) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  const struct {
    const char* text;
    bool bySurname;
    QStringList entries;
  } rows[] = {
      {"lee", true,
       {"Ann Lee, Acme Ltd", "Carol lee, Brown & Co", "Dan Lee, Acme Ltd", "Bob Leeds, "}},
      {"Mü", true, {"Frank Müller, Übersee GmbH"}},
      {"Young", true, {" Young,  Spaced Co "}},
      {"ACME", false, {"Ann Lee, Acme Ltd", "Dan Lee, Acme Ltd"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    ASSERT_TRUE(Search(QString::fromUtf8(row.text), row.bySurname));
    EXPECT_EQ(Entries(), row.entries);
    EXPECT_EQ(RequestResult(pv), -1);  // the last step found nothing more
    EXPECT_EQ(pv.LastSearchText, QString::fromUtf8(row.text));
    EXPECT_EQ(pv.LastSearchBySurname, row.bySurname);
  }
}

TEST_F(OrganizerSearchTest, NoMatchShowsBoxUnderHourglassAndKeepsEarlierResult) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  m.lstAddressee->setCurrentRow(2);
  const QStringList earlier = Entries();
  desktop.pointerChanges.clear();
  EXPECT_FALSE(Search(QStringLiteral("Zebra"), false));
  EXPECT_EQ(Boxes(), QStringList{"Name not found|The Name entered in the 'Search For' box has not "
                                 "been found in the Organizer file.|32"});
  EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Hourglass);
  EXPECT_EQ(desktop.pointerChanges, kHourglassOnly);
  EXPECT_EQ(Entries(), earlier);
  EXPECT_EQ(m.lstAddressee->currentRow(), 2);
  EXPECT_EQ(pv.LastSearchText + QString::number(pv.LastSearchBySurname), QStringLiteral("lee1"));
  EXPECT_EQ(m.txtSearchItem->selectedText(), QStringLiteral("Zebra"));
}

TEST_F(OrganizerSearchTest, RefusalsAndErrorsKeepTheEarlierList) {
  const QString access = QStringLiteral("frmError1");
  const struct {
    QStringList serving;  // empty: not running
    QString path, section, text, form, box;
    int mode;  // of the DDE box afterwards
    bool linked;
  } cases[] = {
      {{kSample}, kSample, "Address", "Lee\")][SelectSection(\"Private", {},
       "Penlark Error|The search text may not contain a double quote (\").\n\r\n\r"
       "Please remove the double quote and try again.|48", 0, false},
      {{kSample}, kSample, "Address\")][Find(\"", "lee", {},
       "Penlark Error|The Address Section name may not contain a double quote (\").\n\r\n\r"
       "Please remove the double quote and try again.|48", 0, false},
      {{"--stall-command", "SelectSection", kSample}, kSample, "Address", "lee", {},
       "Fatal Error|Error 286 has occured in module \"SetupOrganizerLink.\"\n\r\n\r"
       "286 - Timeout occurred while waiting for DDE response|16", 2, false},
      {{kSample}, kSample, "Business", "lee", {},
       "Penlark Error|An error has occured while trying to select an Organizer search index."
       "\n\r\n\rClose Penlark and Organizer and try again.|48", 2, true},
      {{"--result-text", "many", kSample}, kSample, "Address", "lee", {},
       "Fatal Error|Error 290 has occured in module \"SearchOrganizer.\"\n\r\n\r"
       "290 - Data in wrong format|16", 2, true},
      {{}, kSample, "Address", "lee", access, {}, 0, false},
      {{kOther}, kSample, "Address", "lee", access, {}, 0, false},
      {{kSample}, "", "Address", "lee", access, {}, 0, false},
  };
  m.lstAddressee->addItem(QStringLiteral("earlier entry"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serving.join(u' ').toStdString() + '|' + c.path.toStdString() + '|' +
                 c.section.toStdString() + '|' + c.text.toStdString());
    QProcess* organizer = c.serving.isEmpty() ? nullptr : StartOrganizer(c.serving);
    desktop.boxes.clear();
    desktop.formsShown.clear();
    desktop.pointerChanges.clear();
    pv.OrganizerLinkOpen = false;
    pv.OrganizerFilePath = c.path;
    pv.AddressSectionName = c.section;
    EXPECT_FALSE(Search(c.text));
    EXPECT_EQ(desktop.formsShown, c.form.isEmpty() ? std::vector<QString>() : std::vector{c.form});
    EXPECT_EQ(Boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
    EXPECT_EQ(desktop.pointerChanges.empty(), c.text.contains(u'"'));  // before the hourglass
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    EXPECT_EQ(pv.OrganizerLinkOpen, c.linked);
    EXPECT_EQ(m.txtOrganizerPipe->LinkMode(), c.mode);
    EXPECT_EQ(Entries(), QStringList({"earlier entry"}));
    EXPECT_FALSE(m.lstAddressee->isEnabled());
    EXPECT_EQ(pv.LastSearchText, QString());
    bus.Stop(organizer);
  }
  ASSERT_NE(StartOrganizer({kSample}), nullptr);  // once it is up, the next search succeeds
  pv.OrganizerFilePath = kSample;
  pv.AddressSectionName = QStringLiteral("Address");
  EXPECT_TRUE(Search(QStringLiteral("lee")));
  EXPECT_TRUE(pv.OrganizerLinkOpen);
  EXPECT_EQ(Entries().size(), 4);
}

TEST_F(OrganizerSearchTest, OrganizerEndedBetweenSearchesIsAFatalError291) {
  QProcess* organizer = StartOrganizer({kSample});
  ASSERT_NE(organizer, nullptr);
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  bus.Stop(organizer);
  ASSERT_TRUE(bus.WaitNameGone(DdeServiceName(QStringLiteral("Organize200"))));
  EXPECT_FALSE(Search(QStringLiteral("Smith")));
  EXPECT_EQ(Boxes(), QStringList{"Fatal Error|Error 291 has occured in module \"SearchOrganizer.\""
                                 "\n\r\n\r291 - Foreign application quit|16"});
  EXPECT_EQ(Entries().size(), 4);
  EXPECT_EQ(pv.LastSearchText, QStringLiteral("lee"));
  EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
}

}  // namespace
