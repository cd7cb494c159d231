#include "word/WordConnect.h"

#include "WordFixture.h"

#include <optional>
#include <utility>

namespace {

using ConnectTest = WordFixture;

TEST_F(ConnectTest, FindsWordOrEndsTheProgram) {
  // penlark-word's arguments (nothing: none running); the box, or the version. Word 97 with a
  // letter: app.StartupTest, which connects at every start.
  const std::pair<std::optional<QStringList>, QString> rows[] = {
      {std::nullopt, "Microsoft Word Not Running|Penlark cannot be run without Microsoft Word for Windows."
                     "\r\n\r\nPlease start Word before running Penlark.|16|0"},
      {QStringList{}, "No Document Active|There is no Word document active.\r\n\r\n"
                      "Please open a Word document before running Penlark.|16|0"},
      {QStringList{"--dialect", "word6"}, "6"},
  };
  for (const auto& [arguments, outcome] : rows) {
    SCOPED_TRACE(outcome.toStdString());
    desktop = {};
    if (arguments) { ASSERT_NO_FATAL_FAILURE(StartWord(*arguments, false)); }
    if (outcome.contains(u'|')) {
      EXPECT_THROW(ConnectToWord(pv), ProgramEnded);
      EXPECT_EQ(Boxes(), QStringList{outcome});
      continue;
    }
    ConnectToWord(pv);
    EXPECT_EQ(Boxes(), QStringList());
    ASSERT_FALSE(pv.WordApp.IsNothing());
    EXPECT_EQ(pv.WordVersion, outcome);
  }
}

}  // namespace
