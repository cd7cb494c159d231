#include "organizer/OrganizerSearch.h"

#include "organizer/OrganizerFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

const QString kNotFound = QStringLiteral(
    "The Name entered in the 'Search For' box has not been found in the Organizer file.");

class OrganizerSearchTest : public OrganizerFixture {
 protected:
  bool Search(const QString& text, bool bySurname = true) {
    txtSearchItem->setText(text);
    (bySurname ? optSurname : optCompany)->setChecked(true);
    return SearchOrganizer(pv);
  }

  // A data file whose "Address" section holds these many Smiths, P01 Smith of C01 first.
  QString Smiths(int count) {
    QJsonArray records;
    for (int i = count; i >= 1; --i) {
      const QString n = QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
      records.append(QJsonObject{{"FirstName", "P" + n}, {"LastName", "Smith"}, {"Company", "C" + n}});
    }
    const QJsonObject section{{"name", "Address"}, {"records", records}};
    const QString path = dir.filePath(QStringLiteral("smiths.json"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(QJsonObject{{"sections", QJsonArray{section}}}).toJson());
    return path;
  }

  QTemporaryDir dir;
};

TEST_F(OrganizerSearchTest, TwentyFiveMatchesListTenAndStepOnceMore) {
  pv.OrganizerFilePath = Smiths(25);
  ASSERT_NE(StartOrganizer({pv.OrganizerFilePath}), nullptr);
  ASSERT_TRUE(Search(QStringLiteral("smith")));
  QStringList expected;
  for (int i = 1; i <= 10; ++i) expected << QStringLiteral("P%1 Smith, C%1").arg(i, 2, 10, QChar(u'0'));
  EXPECT_EQ(Entries(), expected);
  // The step after the tenth entry has been made: the eleventh match is current.
  EXPECT_EQ(RequestResult(pv), 10);
  EXPECT_EQ(RequestItem(pv, QStringLiteral("FirstName")), QStringLiteral("P11"));
  EXPECT_EQ(lstAddressee->currentRow(), 0);
  EXPECT_TRUE(lstAddressee->isEnabled() && cmdFinished->isEnabled() && cmdMore->isEnabled());
  EXPECT_EQ(pv.LastSearchText, QStringLiteral("smith"));
  EXPECT_TRUE(pv.LastSearchBySurname);
  EXPECT_EQ(desktop.pointerChanges, std::vector<int>({Pointer::Hourglass, Pointer::Default}));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OrganizerSearchTest, OneMatchListsOneAndEndsAtTheFirstNextStep) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  ASSERT_TRUE(Search(QStringLiteral("Mü")));
  EXPECT_EQ(Entries(), QStringList({"Frank Müller, Übersee GmbH"}));
  EXPECT_EQ(RequestResult(pv), -1);
}

TEST_F(OrganizerSearchTest, EntriesAreFirstLastCompanyUntrimmed) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  const struct {
    const char* text;
    bool bySurname;
    QStringList entries;
  } rows[] = {
      {"lee", true, {"Ann Lee, Acme Ltd", "Carol lee, Brown & Co", "Dan Lee, Acme Ltd", "Bob Leeds, "}},
      {"Leeds", true, {"Bob Leeds, "}},
      {"Young", true, {" Young,  Spaced Co "}},
      {"ACME", false, {"Ann Lee, Acme Ltd", "Dan Lee, Acme Ltd"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    ASSERT_TRUE(Search(QString::fromUtf8(row.text), row.bySurname));
    EXPECT_EQ(Entries(), row.entries);
    EXPECT_EQ(pv.LastSearchText, QString::fromUtf8(row.text));
    EXPECT_EQ(pv.LastSearchBySurname, row.bySurname);
  }
}

TEST_F(OrganizerSearchTest, NoMatchShowsBoxUnderHourglassAndKeepsEarlierResult) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  lstAddressee->setCurrentRow(2);
  const QStringList earlier = Entries();
  desktop.pointerChanges.clear();

  EXPECT_FALSE(Search(QStringLiteral("Zebra"), false));  // by company: nothing remembered

  ExpectOnlyBox(QStringLiteral("Name not found"), kNotFound, 32);
  EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Hourglass);
  EXPECT_EQ(desktop.pointerChanges, std::vector<int>({Pointer::Hourglass, Pointer::Default}));
  EXPECT_EQ(Entries(), earlier);
  EXPECT_EQ(lstAddressee->currentRow(), 2);
  EXPECT_EQ(pv.LastSearchText, QStringLiteral("lee"));
  EXPECT_TRUE(pv.LastSearchBySurname);
  EXPECT_EQ(txtSearchItem->selectedText(), QStringLiteral("Zebra"));
}

TEST_F(OrganizerSearchTest, OrganizerNotReachableShowsOnlyTheAccessWindow) {
  lstAddressee->addItem(QStringLiteral("earlier entry"));
  const struct {
    const char* why;
    QStringList serving;  // empty: not running
  } rows[] = {{"not running", {}}, {"running without the configured file", {kOther}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    QProcess* organizer = nullptr;
    if (!row.serving.isEmpty()) {
      organizer = StartOrganizer(row.serving);
      ASSERT_NE(organizer, nullptr);
    }
    desktop.formsShown.clear();
    EXPECT_FALSE(Search(QStringLiteral("lee")));
    EXPECT_EQ(desktop.formsShown, std::vector<QString>({QStringLiteral("frmError1")}));
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(Entries(), QStringList({"earlier entry"}));
    EXPECT_FALSE(lstAddressee->isEnabled());
    EXPECT_FALSE(pv.OrganizerLinkOpen);
    EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
    bus.Stop(organizer);
  }
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  EXPECT_TRUE(Search(QStringLiteral("lee")));
  EXPECT_TRUE(pv.OrganizerLinkOpen);
  EXPECT_EQ(Entries().size(), 4);
}

TEST_F(OrganizerSearchTest, IndexNotSelectableShowsMessageOne) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  lstAddressee->addItem(QStringLiteral("earlier entry"));
  pv.AddressSectionName = QStringLiteral("Business");
  EXPECT_FALSE(Search(QStringLiteral("lee")));
  ExpectOnlyBox(QStringLiteral("Penlark Error"),
                QStringLiteral("An error has occured while trying to select an Organizer search "
                           "index.\n\r\n\rClose Penlark and Organizer and try again."),
                48);
  EXPECT_EQ(Entries(), QStringList({"earlier entry"}));
  EXPECT_EQ(pv.LastSearchText, QString());
}

TEST_F(OrganizerSearchTest, OrganizerEndedBetweenSearchesIsAFatalError291) {
  QProcess* organizer = StartOrganizer({kSample});
  ASSERT_NE(organizer, nullptr);
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  bus.Stop(organizer);
  ASSERT_TRUE(bus.WaitNameGone(DdeServiceName(QStringLiteral("Organize200"))));

  EXPECT_FALSE(Search(QStringLiteral("Smith")));
  ExpectOnlyBox(QStringLiteral("Fatal Error"),
                QStringLiteral("Error 291 has occured in module \"SearchOrganizer.\"\n\r\n\r"
                           "291 - Foreign application quit"),
                16);
  EXPECT_EQ(Entries().size(), 4);
  EXPECT_EQ(pv.LastSearchText, QStringLiteral("lee"));
  EXPECT_EQ(desktop.MousePointer(), Pointer::Default);
}

TEST_F(OrganizerSearchTest, ResultThatIsNotANumberIsAFatalError290) {
  ASSERT_NE(StartOrganizer({QStringLiteral("--result-text"), QStringLiteral("many"), kSample}),
            nullptr);
  EXPECT_FALSE(Search(QStringLiteral("lee")));
  ExpectOnlyBox(QStringLiteral("Fatal Error"),
                QStringLiteral("Error 290 has occured in module \"SearchOrganizer.\"\n\r\n\r"
                               "290 - Data in wrong format"),
                16);
  EXPECT_TRUE(Entries().isEmpty());
  EXPECT_FALSE(lstAddressee->isEnabled());
}

TEST_F(OrganizerSearchTest, SearchTextWithADoubleQuoteIsRefusedBeforeAnythingIsSent) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  EXPECT_FALSE(Search(QStringLiteral("Lee\")][SelectSection(\"Private")));
  ExpectOnlyBox(QStringLiteral("Penlark Error"),
                QStringLiteral("The search text may not contain a double quote (\").\n\r\n\r"
                           "Please remove the double quote and try again."),
                48);
  EXPECT_TRUE(desktop.pointerChanges.empty());
  EXPECT_FALSE(pv.OrganizerLinkOpen);
  EXPECT_EQ(txtOrganizerPipe->LinkMode(), 0);
}

}  // namespace
