#include "config/ConfigFile.h"

#include "app/ProgramValues.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class ConfigFileTest : public ::testing::Test {
 protected:
  ConfigFileTest() : pv(desktop, QDBusConnection(QString())) {
    pv.ConfigFilePath = dir.path() + QStringLiteral("/PENLARK.INI");
  }

  QTemporaryDir dir;
  ScriptedDesktopServices desktop;
  ProgramValues pv;
};

TEST_F(ConfigFileTest, MissingFileReadsAsDefaults) {
  EXPECT_EQ(ReadConfigString(pv.ConfigFilePath, QStringLiteral("Language Settings"),
                             QStringLiteral("Language"), QStringLiteral("English")),
            QStringLiteral("English"));
  EXPECT_EQ(ReadConfigString(pv.ConfigFilePath, QStringLiteral("Options"),
                             QStringLiteral("Organizer File Path")),
            QString());
  EXPECT_EQ(ReadConfigInt(pv.ConfigFilePath, QStringLiteral("Options"),
                          QStringLiteral("Skip Blank Fields"), 0),
            0);
}

TEST_F(ConfigFileTest, SuccessfulWriteShowsNothingAndReadsBackWhole) {
  const QString name = QStringLiteral("Business Letters For The Sales D");  // 32 characters
  const QString separator = QStringLiteral(",_\u00B6\u00BB");
  ASSERT_TRUE(WriteConfigString(pv, QStringLiteral("Address Profiles"), QStringLiteral("0"), name));
  ASSERT_TRUE(WriteConfigString(pv, QStringLiteral("Profile 0"), QStringLiteral("Separator 0"),
                                separator));
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(ReadConfigString(pv.ConfigFilePath, QStringLiteral("address profiles"),
                             QStringLiteral("0")),
            name);
  EXPECT_EQ(ReadConfigString(pv.ConfigFilePath, QStringLiteral("Profile 0"),
                             QStringLiteral("Separator 0")),
            separator);
  EXPECT_EQ(ReadConfigInt(pv.ConfigFilePath, QStringLiteral("Address Profiles"),
                          QStringLiteral("1"), 99),
            99);
}

TEST_F(ConfigFileTest, FailedWriteTellsTheUserOnceAndReturnsFalse) {
  pv.ConfigFilePath = dir.path() + QStringLiteral("/gone/PENLARK.INI");
  desktop.SetMousePointer(Pointer::Hourglass);
  EXPECT_FALSE(WriteConfigString(pv, QStringLiteral("Options"), QStringLiteral("Skip Blank Fields"),
                                 QStringLiteral("1")));
  ASSERT_EQ(desktop.boxes.size(), 1u);
  const ScriptedDesktopServices::Box& box = desktop.boxes.front();
  EXPECT_EQ(box.title, QStringLiteral("Penlark Error"));
  EXPECT_EQ(box.style, MsgStyle::Exclamation);
  EXPECT_EQ(box.text, QStringLiteral("The configuration file ") + pv.ConfigFilePath +
                          QStringLiteral(" could not be saved.\n\r\n\rNo such file or directory"));
  EXPECT_EQ(box.pointer, Pointer::Default);
  EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
  EXPECT_FALSE(QFile::exists(pv.ConfigFilePath));
}

TEST_F(ConfigFileTest, RefusedValueLeavesTheFileAsItWas) {
  ASSERT_TRUE(WriteConfigString(pv, QStringLiteral("Options"), QStringLiteral("Organizer Address Section"),
                                QStringLiteral("Address")));
  EXPECT_FALSE(WriteConfigString(pv, QStringLiteral("Options"),
                                 QStringLiteral("Organizer Address Section"),
                                 QStringLiteral("Address\r\n[Options]")));
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_TRUE(desktop.boxes.front().text.contains(pv.ConfigFilePath));
  EXPECT_EQ(ReadConfigString(pv.ConfigFilePath, QStringLiteral("Options"),
                             QStringLiteral("Organizer Address Section")),
            QStringLiteral("Address"));
}

}  // namespace
