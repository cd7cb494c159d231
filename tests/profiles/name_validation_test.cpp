#include "profiles/NameValidation.h"

#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

namespace {

const char kBlank[] = "The Address Profile Name cannot be blank";
const char kTooLong[] = "The name entered must not exceed 32 characters.";
const char kLetters[] = "The name entered may only use characters \"A-Z\" and \"a-z\".";
const char kNoSpaces[] =
    "The name entered may only use characters \"A-Z\"; \"a-z\" and may not include spaces.";

TEST(NameValidationTest, FirstFailingRuleIsTold) {
  const std::string a32(32, 'a');
  const std::string a33 = a32 + "B", digit33 = a32 + "9", blanks33(33, ' ');
  struct Case {
    const char* name;
    bool allowBlanks, allowEmpty;
    const char* reason;  // nullptr: the name passes
  };
  const Case cases[] = {
      {"", true, false, kBlank},       {"", false, false, kBlank},
      {"", false, true, nullptr},      {a32.c_str(), true, false, nullptr},
      {a33.c_str(), true, false, kTooLong}, {a33.c_str(), false, true, kTooLong},
      {digit33.c_str(), true, false, kTooLong},  // length before characters
      {blanks33.c_str(), true, false, kTooLong},
      {"AZaz", false, true, nullptr},  {"My Letters", true, false, nullptr},
      {"My Letters", false, true, kNoSpaces}, {" ", false, false, kNoSpaces},
      {"Letter2", true, false, kLetters}, {"Letter2", false, true, kNoSpaces},
      {"A@", true, false, kLetters},   {"A[", true, false, kLetters},  // just outside A-Z
      {"A`", true, false, kLetters},   {"A{", true, false, kLetters},  // and a-z
      {"My_Letter", true, false, kLetters}, {"My-Letter", true, false, kLetters},
      {"\xC3\x84pfel", true, false, kLetters}, {"Ab\t", true, false, kLetters},
      {"A b2", false, true, kNoSpaces},  // the blank is the first bad character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.name << "\" " << c.allowBlanks << c.allowEmpty);
    ScriptedDesktopServices desktop;
    EXPECT_EQ(ValidateProfileName(desktop, QString::fromUtf8(c.name), c.allowBlanks, c.allowEmpty),
              c.reason == nullptr);
    if (!c.reason) {
      EXPECT_TRUE(desktop.boxes.empty());
      continue;
    }
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Invalid Name"));
    EXPECT_EQ(desktop.boxes[0].style, 48);
    EXPECT_EQ(desktop.boxes[0].text.toUtf8(),
              QByteArray(c.reason) + QByteArray("\x0A\x0D\x0A\x0D") + "Please re-enter.");
  }
}

}  // namespace
