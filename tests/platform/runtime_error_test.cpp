#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

TEST(RuntimeErrorTest, StandardDescriptionsAndStrNumber) {
  const std::pair<int, const char*> rows[] = {
      {53, "File not found"}, {1000, "Application-defined or object-defined error"}};
  for (auto [number, text] : rows) {
    SCOPED_TRACE(number);
    const RuntimeError error(number);
    EXPECT_EQ(error.description(), QString::fromLatin1(text));
    EXPECT_NE(std::string(error.what()).find(text), std::string::npos);
  }
  EXPECT_EQ(RuntimeError(440, QStringLiteral("own")).description(), QStringLiteral("own"));
  EXPECT_EQ(StrNumber(53) + StrNumber(0) + StrNumber(-5) + StrNumber(2147483648LL), " 53 0-5 2147483648");
}

}  // namespace
