#include "profiles/NameValidation.h"

#include "ProfileTestFile.h"

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
      {"", true, false, blank},           {"", false, true, nullptr},        {a32, true, false, nullptr},
      {a32 + "B", false, true, tooLong},  {a32 + "9", true, false, tooLong}, {std::string(33, ' '), true, false, tooLong},
      {"AZaz", false, true, nullptr},     {"My Letters", true, false, nullptr}, {"Letter2", true, false, letters},
      {"Letter2", false, true, noSpaces}, {"A b2", false, true, noSpaces},   {"A@", true, false, letters},
      {"A[", true, false, letters},       {"A`", true, false, letters},      {"A{", true, false, letters},
      {"\xC3\x84pfel", true, false, letters},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.name << "\" " << c.allowBlanks << c.allowEmpty);
    ScriptedDesktopServices desktop;
    const bool ok = ValidateProfileName(desktop, QString::fromStdString(c.name), c.allowBlanks,
                                        c.allowEmpty);
    EXPECT_EQ(QString::number(ok) + Shown(desktop, false, true).join(u'\n'),
              c.reason ? u'0' + InvalidName(QString::fromUtf8(c.reason)) : QStringLiteral("1"));
  }
}

}  // namespace
