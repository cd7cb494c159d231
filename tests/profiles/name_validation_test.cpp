#include "profiles/NameValidation.h"

#include "ProfileTestFile.h"

#include <gtest/gtest.h>

namespace {

TEST(NameValidationTest, FirstFailingRuleIsTold) {
  const char* blank = "The Address Profile Name cannot be blank";
  const char* tooLong = "The name entered must not exceed 32 characters.";
  const char* letters = "The name entered may only use characters \"A-Z\" and \"a-z\".";
  const char* noSpaces =
      "The name entered may only use characters \"A-Z\"; \"a-z\" and may not include spaces.";
  const std::string a32(32, 'a');
  const struct {
    std::string name;
    bool allowBlanks, allowEmpty;
    const char* reason;  // nullptr: the name passes
  } cases[] = {
      {"", true, false, blank}, {"", false, false, blank}, {"", false, true, nullptr},
      {a32, true, false, nullptr}, {a32 + "B", true, false, tooLong},
      {a32 + "B", false, true, tooLong}, {a32 + "9", true, false, tooLong},
      {std::string(33, ' '), true, false, tooLong}, {"AZaz", false, true, nullptr},
      {"My Letters", true, false, nullptr}, {"My Letters", false, true, noSpaces},
      {" ", false, false, noSpaces}, {"Letter2", true, false, letters},
      {"Letter2", false, true, noSpaces}, {"A b2", false, true, noSpaces},
      {"A@", true, false, letters}, {"A[", true, false, letters}, {"A`", true, false, letters},
      {"A{", true, false, letters}, {"\xC3\x84pfel", true, false, letters},
      {"Ab\t", true, false, letters}, {"My_Letter", true, false, letters},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.name << "\" " << c.allowBlanks << c.allowEmpty);
    ScriptedDesktopServices desktop;
    EXPECT_EQ(ValidateProfileName(desktop, QString::fromStdString(c.name), c.allowBlanks,
                                  c.allowEmpty),
              c.reason == nullptr);
    const QByteArray box =
        "Invalid Name|" + QByteArray(c.reason) + "\x0A\x0D\x0A\x0DPlease re-enter.|48";
    EXPECT_EQ(Boxes(desktop).join(u'\n').toUtf8(), c.reason ? box : QByteArray());
  }
}

}  // namespace
