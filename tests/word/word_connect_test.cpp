#include "word/WordConnect.h"

#include "WordFixture.h"

namespace {

class ConnectTest : public WordFixture {
 protected:
  QProcess* StartWordOnly(const QStringList& arguments) {
    QProcess* word = bus.Start(QStringLiteral(PENLARK_WORD_BIN), arguments,
                               WindowClassName(QStringLiteral("OpusApp")));
    EXPECT_NE(word, nullptr) << bus.lastError().toStdString();
    return word;
  }

  void ExpectEndedWith(const QString& title, const QString& text, int style) {
    EXPECT_THROW(ConnectToWord(pv), ProgramEnded);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, title);
    EXPECT_EQ(desktop.boxes[0].text, text);
    EXPECT_EQ(desktop.boxes[0].style, style);
  }
};

TEST_F(ConnectTest, RunningObjectWithADocumentGivesItsVersion) {
  ASSERT_NE(StartWordOnly({Letter()}), nullptr);
  ConnectToWord(pv);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(pv.WordVersion, QStringLiteral("8.0"));
  EXPECT_EQ(pv.WordApp.Get(QStringLiteral("ActiveDocument")).toString(), QStringLiteral("letter.txt"));
}

TEST_F(ConnectTest, RunningObjectWithoutADocumentEndsTheProgram) {
  ASSERT_NE(StartWordOnly({}), nullptr);
  ExpectEndedWith(QStringLiteral("No Document Active"),
                  QStringLiteral("There is no Word document active.\r\n\r\n"
                                 "Please open a Word document before running Penlark."),
                  16);
}

TEST_F(ConnectTest, OnlyWordBasicGivesVersionSixWithoutADocumentTest) {
  ASSERT_NE(StartWordOnly({QStringLiteral("--dialect"), QStringLiteral("word6")}), nullptr);
  ConnectToWord(pv);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(pv.WordVersion, QStringLiteral("6"));
  EXPECT_FALSE(pv.WordApp.IsNothing());
}

TEST_F(ConnectTest, NoWordAtAllEndsTheProgram) {
  ExpectEndedWith(QStringLiteral("Microsoft Word Not Running"),
                  QStringLiteral("Penlark cannot be run without Microsoft Word for Windows.\r\n\r\n"
                                 "Please start Word before running Penlark."),
                  16);
  EXPECT_TRUE(pv.WordApp.IsNothing());
}

// A window of the class, but nothing serving "Word.Basic".
TEST_F(ConnectTest, WindowWithoutWordBasicIsAStartError) {
  ASSERT_TRUE(bus.connection().registerService(WindowClassName(QStringLiteral("OpusApp"))));
  ExpectEndedWith(QStringLiteral("Fatal Error"),
                  QStringLiteral("Word 6 start error:   429ActiveX component can't create object"), 0);
}

}  // namespace
