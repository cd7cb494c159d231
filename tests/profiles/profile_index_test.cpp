#include "profiles/ProfileIndex.h"

#include "ProfileTestFile.h"

#include <gtest/gtest.h>

#include <QComboBox>

namespace {

class ProfileIndexTest : public ::testing::Test {
 protected:
  QStringList Listed() {
    FillProfileList(box, config.path);
    QStringList names;
    for (int i = 0; i < box.count(); ++i) names << box.itemText(i);
    return names;
  }
  int Find(const char* name) const { return FindProfileIndex(config.path, QString::fromUtf8(name)); }

  TempConfig config;
  QComboBox box;
};

TEST_F(ProfileIndexTest, NoFileIsAnEmptyIndex) {
  EXPECT_TRUE(Listed().isEmpty());
  EXPECT_EQ(Find("Anna"), kNoProfileSlot);
  EXPECT_EQ(NextFreeProfileIndex(config.path), 0);
}

TEST_F(ProfileIndexTest, DeletedSlotIsSkippedAndReused) {
  config.Write(TempConfig::Index({"Anna", "Bert", "(-Deleted-)", "Carl", "Dora"}));
  EXPECT_EQ(Listed(), (QStringList{"Anna", "Bert", "Carl", "Dora"}));
  EXPECT_EQ(NextFreeProfileIndex(config.path), 2);
  const std::pair<const char*, int> cases[] = {
      {"Carl", 3}, {" Carl ", 3}, {"  Dora", 4}, {"Anna", 0}, {"carl", kNoProfileSlot},
      {"Car", kNoProfileSlot}, {"", kNoProfileSlot}, {"   ", kNoProfileSlot}};
  for (const auto& [name, slot] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Find(name), slot);
  }
}

TEST_F(ProfileIndexTest, MissingOrEmptyKeyEndsTheListUntilTheGapIsFilled) {
  for (const char* gap : {"", "2=\n"}) {
    SCOPED_TRACE(gap);
    config.Write("[Address Profiles]\n0=Anna\n1=Bert\n3=Dora\n" + QByteArray(gap));
    EXPECT_EQ(Listed(), (QStringList{"Anna", "Bert"}));
    EXPECT_EQ(Find("Dora"), kNoProfileSlot);
    EXPECT_EQ(NextFreeProfileIndex(config.path), 2);
  }
  config.Write("[Address Profiles]\n0=Anna\n1=Bert\n3=Dora\n2=Carl\n");
  EXPECT_EQ(Listed(), (QStringList{"Anna", "Bert", "Carl", "Dora"}));
  EXPECT_EQ(Find("Dora"), 3);
}

TEST_F(ProfileIndexTest, AllThirtyTwoSlotsTakenAndNoMore) {
  QStringList names = TempConfig::ThirtyTwoNames();
  config.Write(TempConfig::Index(names + QStringList{"Extra"}));
  EXPECT_EQ(Listed(), names);
  EXPECT_EQ(FindProfileIndex(config.path, names.last()), 31);
  EXPECT_EQ(Find("Extra"), kNoProfileSlot);
  EXPECT_EQ(NextFreeProfileIndex(config.path), kNoProfileSlot);
}

TEST_F(ProfileIndexTest, ThirtyTwoCharacterNameIsFoundAgain) {
  const char longName[] = "AbcdefghijklmnopqrstuvwxyzAbcdef";
  config.Write(TempConfig::Index({"Anna", longName}));
  EXPECT_EQ(Listed(), (QStringList{"Anna", longName}));
  EXPECT_EQ(Find(longName), 1);
  EXPECT_EQ(Find("AbcdefghijklmnopqrstuvwxyzAbcde"), kNoProfileSlot);
}

TEST_F(ProfileIndexTest, FillReplacesAndLeavesNoSelectionOrText) {
  config.Write(TempConfig::Index({"Anna", "Bert"}));
  for (bool editable : {false, true}) {
    SCOPED_TRACE(editable);
    box.setEditable(editable);
    box.addItems({"Old", "Stale"});
    box.setCurrentIndex(1);
    EXPECT_EQ(Listed(), (QStringList{"Anna", "Bert"}));
    EXPECT_EQ(Listed(), (QStringList{"Anna", "Bert"}));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.currentText(), QString());
  }
}

}  // namespace
