#include "word/WordConnect.h"

#include "WordFixture.h"

#include <optional>

namespace {

using ConnectTest = WordFixture;

TEST_F(ConnectTest, FindsWordOrEndsTheProgram) {
  const struct {
    const char* name;
    std::optional<QStringList> arguments;  // nothing: no penlark-word
    QString version, title = {}, text = {};  // no title: connected
    int style = 0;
  } rows[] = {
      {"nothing", std::nullopt, "", "Microsoft Word Not Running",
       "Penlark cannot be run without Microsoft Word for Windows.\r\n\r\n"
       "Please start Word before running Penlark.", 16},
      {"word97 without a document", QStringList{}, "", "No Document Active",
       "There is no Word document active.\r\n\r\nPlease open a Word document before running Penlark.", 16},
      {"word97 with a letter", QStringList{kLetter}, "8.0"},
      {"only WordBasic", QStringList{"--dialect", "word6"}, "6"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    desktop.boxes.clear();
    if (row.arguments) { ASSERT_NO_FATAL_FAILURE(StartWord(*row.arguments, false)); }
    if (row.title.isEmpty()) {
      ConnectToWord(pv);
      EXPECT_TRUE(desktop.boxes.empty());
      EXPECT_EQ(pv.WordVersion, row.version);
      EXPECT_FALSE(pv.WordApp.IsNothing());
      if (row.version == QStringLiteral("8.0")) {
        EXPECT_EQ(pv.WordApp.Get(QStringLiteral("ActiveDocument")).toString(), QStringLiteral("letter.txt"));
      }
    } else {
      EXPECT_THROW(ConnectToWord(pv), ProgramEnded);
      ExpectOneBox(row.title, row.text, row.style);
    }
  }
}

}  // namespace
