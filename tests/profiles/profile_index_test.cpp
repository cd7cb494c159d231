#include "profiles/ProfileIndex.h"

#include "ProfileTestFile.h"

namespace {

TEST(ProfileIndexTest, ListFindAndNextFree) {
  const QString longName = QStringLiteral("AbcdefghijklmnopqrstuvwxyzAbcdef");
  const QStringList names = TempConfig::ThirtyTwoNames();
  const QByteArray gap = "[Address Profiles]\n0=Anna\n1=Bert\n3=Dora\n";
  const QStringList abcd{"Anna", "Bert", "Carl", "Dora"};
  const struct {
    QByteArray file;  // empty: there is no file
    QStringList listed;
    std::vector<std::pair<QString, int>> found;
    int nextFree;
  } cases[] = {
      {{}, {}, {{"Anna", kNoProfileSlot}}, 0},
      {TempConfig::Index({"Anna", "Bert", "(-Deleted-)", "Carl", "Dora"}), abcd,
       {{"Carl", 3}, {" Carl ", 3}, {"  Dora", 4}, {"Anna", 0}, {"carl", kNoProfileSlot},
        {"Car", kNoProfileSlot}, {"", kNoProfileSlot}, {"   ", kNoProfileSlot}}, 2},
      {gap, {"Anna", "Bert"}, {{"Dora", kNoProfileSlot}}, 2},
      {gap + "2=\n", {"Anna", "Bert"}, {{"Dora", kNoProfileSlot}}, 2},
      {gap + "2=Carl\n", abcd, {{"Dora", 3}}, 4},
      {TempConfig::Index(names + QStringList{"Extra"}), names,
       {{names.last(), 31}, {"Extra", kNoProfileSlot}}, kNoProfileSlot},
      {TempConfig::Index({"Anna", longName}), {"Anna", longName},
       {{longName, 1}, {longName.chopped(1), kNoProfileSlot}}, 2},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE(row);
    const auto& c = cases[row];
    TempConfig config;
    if (!c.file.isEmpty()) config.Write(c.file);
    QComboBox box;
    box.setEditable(row % 2);
    for (int fill = 0; fill < 2; ++fill) {  // the list replaced, no selection and no text
      FillProfileList(box, config.path);
      QStringList shown{QString::number(box.currentIndex()), box.currentText()};
      for (int i = 0; i < box.count(); ++i) shown << box.itemText(i);
      EXPECT_EQ(shown, QStringList({QStringLiteral("-1"), QString()}) + c.listed);
    }
    for (const auto& [name, slot] : c.found)
      EXPECT_EQ(FindProfileIndex(config.path, name), slot) << name.toStdString();
    EXPECT_EQ(NextFreeProfileIndex(config.path), c.nextFree);
  }
}

}  // namespace
