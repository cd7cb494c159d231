#include "organizer/OrganizerLink.h"

#include "organizer/OrganizerFixture.h"
#include "organizer/OrganizerSearch.h"

namespace {

class OrganizerLinkTest : public OrganizerFixture {};

TEST_F(OrganizerLinkTest, OpensTheTopicAndSelectsTheSection) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  ASSERT_TRUE(SetupOrganizerLink(pv));
  EXPECT_TRUE(pv.OrganizerLinkOpen);
  EXPECT_EQ(txtOrganizerPipe->LinkMode(), 2);
  EXPECT_EQ(txtOrganizerPipe->LinkTopic(), QStringLiteral("Organize200|") + kSample);
  EXPECT_EQ(txtOrganizerPipe->LinkTimeout(), 60);
  EXPECT_EQ(RequestResult(pv), 1);  // the section command was the last one, and it found it
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OrganizerLinkTest, SetUpOnceThenReusedUntilTheFlagIsCleared) {
  ASSERT_NE(StartOrganizer({kSample, kOther}), nullptr);
  txtSearchItem->setText(QStringLiteral("lee"));
  ASSERT_TRUE(SearchOrganizer(pv));
  // Were the link set up again, this section would make the index selection fail.
  pv.AddressSectionName = QStringLiteral("Nowhere");
  ASSERT_TRUE(SearchOrganizer(pv));
  EXPECT_EQ(lstAddressee->count(), 4);

  pv.OrganizerLinkOpen = false;
  pv.OrganizerFilePath = kOther;
  pv.AddressSectionName = QStringLiteral("Address");
  ASSERT_TRUE(SearchOrganizer(pv));
  EXPECT_EQ(txtOrganizerPipe->LinkTopic(), QStringLiteral("Organize200|") + kOther);
  ASSERT_EQ(lstAddressee->count(), 1);
  EXPECT_EQ(lstAddressee->item(0)->text(), QStringLiteral("Hugh Lee, Other Book Ltd"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OrganizerLinkTest, EmptyFilePathIsStillTried) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  pv.OrganizerFilePath.clear();
  EXPECT_FALSE(SetupOrganizerLink(pv));
  EXPECT_EQ(txtOrganizerPipe->LinkTopic(), QStringLiteral("Organize200|"));
  EXPECT_EQ(desktop.formsShown, std::vector<QString>({QStringLiteral("frmError1")}));
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(pv.OrganizerLinkOpen);
}

TEST_F(OrganizerLinkTest, FailedSectionCommandIsAFatalErrorAndLeavesTheFlagFalse) {
  ASSERT_NE(StartOrganizer({QStringLiteral("--stall-command"), QStringLiteral("SelectSection"),
                            kSample}),
            nullptr);
  EXPECT_FALSE(SetupOrganizerLink(pv));
  ExpectOnlyBox(QStringLiteral("Fatal Error"),
                QStringLiteral("Error 286 has occured in module \"SetupOrganizerLink.\"\n\r\n\r"
                           "286 - Timeout occurred while waiting for DDE response"),
                16);
  EXPECT_FALSE(pv.OrganizerLinkOpen);
  EXPECT_EQ(txtOrganizerPipe->LinkMode(), 2);  // the conversation itself stays open
  EXPECT_TRUE(desktop.formsShown.empty());
}

TEST_F(OrganizerLinkTest, SectionNameWithADoubleQuoteIsRefusedBeforeAnythingIsSent) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  pv.AddressSectionName = QStringLiteral("Address\")][Find(\"");
  EXPECT_FALSE(SetupOrganizerLink(pv));
  ExpectOnlyBox(QStringLiteral("Penlark Error"),
                QStringLiteral("The Address Section name may not contain a double quote (\").\n\r\n\r"
                           "Please remove the double quote and try again."),
                48);
  EXPECT_EQ(txtOrganizerPipe->LinkMode(), 0);
  EXPECT_EQ(txtOrganizerPipe->LinkTopic(), QString());
  EXPECT_FALSE(pv.OrganizerLinkOpen);
}

}  // namespace
