#include "profiles/ProfileIndex.h"

#include "ProfileTestFile.h"

namespace {

using ProfileIndexTest = ProfilesTest;

TEST_F(ProfileIndexTest, ListFindAndNextFree) {
  const QStringList names = ThirtyTwoNames();
  const QByteArray gap = "[Address Profiles]\n0=Anna\n1=Bert\n3=Dora\n";
  const QStringList abcd{"Anna", "Bert", "Carl", "Dora"};
  const struct {
    QByteArray file;  // empty: there is no file
    QStringList listed;
    std::vector<std::pair<QString, int>> found;
    int nextFree;
  } cases[] = {
      {{}, {}, {{"Anna", kNoProfileSlot}}, 0},
      {ProfileIndexFile({"Anna", "Bert", "(-Deleted-)", "Carl", "Dora"}), abcd,
       {{"Carl", 3}, {" Carl ", 3}, {"  Dora", 4}, {"Anna", 0}, {"carl", kNoProfileSlot},
        {"Car", kNoProfileSlot}, {"", kNoProfileSlot}, {"   ", kNoProfileSlot}}, 2},
      {gap, {"Anna", "Bert"}, {{"Dora", kNoProfileSlot}}, 2},
      {gap + "2=Carl\n", abcd, {{"Dora", 3}}, 4},
      {ProfileIndexFile(names + QStringList{"Extra"}), names,
       {{names.last(), 31}, {"Extra", kNoProfileSlot}}, kNoProfileSlot},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE(row);
    const auto& c = cases[row];
    QFile::remove(Ini());
    if (!c.file.isEmpty()) {
      ASSERT_TRUE(PutBytes(Ini(), c.file));
    }
    QComboBox box;
    box.setEditable(row % 2);
    for (int fill = 0; fill < 2; ++fill) {  // the list replaced, no selection and no text
      FillProfileList(box, Ini());
      QStringList shown{QString::number(box.currentIndex()), box.currentText()};
      for (int i = 0; i < box.count(); ++i) shown << box.itemText(i);
      EXPECT_EQ(shown, QStringList({QStringLiteral("-1"), QString()}) + c.listed);
    }
    for (const auto& [name, slot] : c.found)
      EXPECT_EQ(FindProfileIndex(Ini(), name), slot) << name.toStdString();
    EXPECT_EQ(NextFreeProfileIndex(Ini()), c.nextFree);
  }
}

}  // namespace
