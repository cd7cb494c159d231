#include "organizer/OrganizerLink.h"

#include "organizer/OrganizerFixture.h"

namespace {

class OrganizerLinkTest : public OrganizerFixture {};

TEST_F(OrganizerLinkTest, SetUpOnceThenReusedUntilTheFlagIsCleared) {
  ASSERT_NE(StartOrganizer({kSample, kOther}), nullptr);
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  EXPECT_TRUE(pv.OrganizerLinkOpen);
  EXPECT_EQ(m.txtOrganizerPipe->LinkMode(), 2);
  // Were the link set up again, this section would make the index selection fail.
  pv.AddressSectionName = QStringLiteral("Nowhere");
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  EXPECT_EQ(Entries().size(), 4);
  pv.OrganizerLinkOpen = false;
  pv.OrganizerFilePath = kOther;
  pv.AddressSectionName = QStringLiteral("Address");
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  EXPECT_EQ(m.txtOrganizerPipe->LinkTopic(), QStringLiteral("Organize200|") + kOther);
  EXPECT_EQ(Entries(), QStringList{"Hugh Lee, Other Book Ltd"});
  EXPECT_TRUE(desktop.boxes.empty());
}

}  // namespace
