#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(RuntimeErrorTest, StandardDescriptions) {
  struct Row {
    int number;
    const char* text;
  } rows[] = {
      {3, "Return without GoSub"},
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {9, "Subscript out of range"},
      {13, "Type mismatch"},
      {52, "Bad file name or number"},
      {53, "File not found"},
      {70, "Permission denied"},
      {75, "Path/File access error"},
      {76, "Path not found"},
      {91, "Object variable or With block variable not set"},
      {94, "Invalid use of Null"},
      {280, "DDE channel not fully closed; awaiting response from foreign application"},
      {281, "No more DDE channels"},
      {282, "No foreign application responded to a DDE initiate"},
      {283, "Multiple applications responded to a DDE initiate"},
      {284, "DDE channel locked"},
      {285, "Foreign application won't perform DDE method or operation"},
      {286, "Timeout occurred while waiting for DDE response"},
      {287, "User pressed Escape key during DDE operation"},
      {288, "Destination is busy"},
      {289, "Data not provided in DDE operation"},
      {290, "Data in wrong format"},
      {291, "Foreign application quit"},
      {292, "DDE conversation closed or changed"},
      {293, "DDE method invoked with no channel open"},
      {294, "Invalid DDE Link format"},
      {295, "Message queue filled; DDE message lost"},
      {296, "PasteLink already performed on this control"},
      {297, "Can't set LinkMode; invalid LinkTopic"},
      {298, "System DLL could not be loaded"},
      {380, "Invalid property value"},
      {424, "Object required"},
      {429, "ActiveX component can't create object"},
      {438, "Object doesn't support this property or method"},
      {440, "Automation error"},
      {450, "Wrong number of arguments or invalid property assignment"},
      {481, "Invalid picture"},
      {0, "Application-defined or object-defined error"},
      {-1, "Application-defined or object-defined error"},
      {1000, "Application-defined or object-defined error"},
      {30000, "Application-defined or object-defined error"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.number);
    EXPECT_EQ(StandardErrorDescription(row.number), QString::fromUtf8(row.text));
  }
}

TEST(RuntimeErrorTest, EveryNumberThatIsRaisedHasItsOwnText) {
  const int numbers[] = {3,   5,   6,   7,   9,   11,  13,  28,  35,  48,  49,  51,  52,
                         53,  54,  55,  57,  58,  61,  62,  63,  67,  68,  70,  71,  74,
                         75,  76,  91,  92,  93,  94,  321, 322, 380, 381, 422, 423, 424,
                         429, 430, 432, 438, 440, 445, 449, 450, 451, 453, 481};
  const QString unknown = StandardErrorDescription(1000);
  for (int number = 280; number <= 298; ++number) {
    SCOPED_TRACE(number);
    EXPECT_NE(StandardErrorDescription(number), unknown);
  }
  for (int number : numbers) {
    SCOPED_TRACE(number);
    EXPECT_NE(StandardErrorDescription(number), unknown);
  }
}

TEST(RuntimeErrorTest, CarriesNumberAndDescription) {
  const RuntimeError standard(76);
  EXPECT_EQ(standard.number(), 76);
  EXPECT_EQ(standard.description(), QStringLiteral("Path not found"));
  EXPECT_NE(std::strstr(standard.what(), "Path not found"), nullptr);

  const RuntimeError own(440, QStringLiteral("The document has no bookmark \"To\""));
  EXPECT_EQ(own.number(), 440);
  EXPECT_EQ(own.description(), QStringLiteral("The document has no bookmark \"To\""));
}

TEST(RuntimeErrorTest, StrNumberWritesALeadingBlankForNonNegatives) {
  EXPECT_EQ(StrNumber(53), QStringLiteral(" 53"));
  EXPECT_EQ(StrNumber(0), QStringLiteral(" 0"));
  EXPECT_EQ(StrNumber(-5), QStringLiteral("-5"));
  EXPECT_EQ(StrNumber(2147483648LL), QStringLiteral(" 2147483648"));
}

}  // namespace
