#include "organizer/OrganizerLink.h"

#include "organizer/OrganizerFixture.h"

namespace {

using OrganizerLinkTest = OrganizerFixture;

TEST_F(OrganizerLinkTest, SetUpOnceThenReusedUntilTheFlagIsCleared) {
  ASSERT_NE(StartOrganizer({kSample, kOther}), nullptr);
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  // Were the link set up again, this section would make the index selection fail.
  pv.AddressSectionName = QStringLiteral("Nowhere");
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  pv.OrganizerLinkOpen = false;
  pv.OrganizerFilePath = kOther;
  pv.AddressSectionName = QStringLiteral("Address");
  ASSERT_TRUE(Search(QStringLiteral("lee")));
  EXPECT_EQ(Entries(), QStringList{"Hugh Lee, Other Book Ltd"});
}

}  // namespace
