#include "ConfigFixture.h"

#include "config/ConfigFile.h"

namespace {

using ConfigFileTest = ConfigFixture;

TEST_F(ConfigFileTest, FailedWriteTellsTheUserOnceAndReturnsFalse) {
  pv.ConfigFilePath = dir.filePath(QStringLiteral("gone/PENLARK.INI"));
  desktop.SetMousePointer(Pointer::Hourglass);
  EXPECT_FALSE(WriteConfigString(pv, QStringLiteral("Options"), QStringLiteral("Skip Blank Fields"), "1"));
  EXPECT_EQ(Shown(desktop, true), QStringList{QStringLiteral("Penlark Error|The configuration file ") + pv.ConfigFilePath +
                                 QStringLiteral(" could not be saved.\n\r\n\rNo such file or directory|48|0")});
  EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
}

}  // namespace
