#include "CycledProfile.h"
#include "ReliabilityFixture.h"

#include <QProcess>
#include <QThread>

#include <random>

#include <signal.h>

namespace {

// The cycler is killed at random moments, again and again, until it has saved and deleted
// the profile 1,000 times. The same steps taken here on a file of their own, without a
// kill, give each step's line and bytes: after every kill the file must hold, byte for
// byte, the step the cycler last reported or the one after it.
TEST(KilledWritesTest, AKillDuringSaveOrDeleteLeavesTheOldProfileOrTheNew) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString ini = dir.filePath(QStringLiteral("PENLARK.INI"));
  ScriptedDesktopServices desktop;
  ProgramValues whole(desktop, QDBusConnection(QString()));
  whole.ConfigFilePath = dir.filePath(QStringLiteral("whole.ini"));
  std::vector<std::pair<std::string, std::string>> steps = {{"", "<no file>"}};
  const auto step = [&](size_t n) {
    while (steps.size() <= n) {
      const std::string line = CycleOnce(whole);
      steps.emplace_back(line, ReadBytes(whole.ConfigFilePath).toStdString());
    }
    return steps[n];
  };
  std::mt19937 random(7);
  std::uniform_int_distribution<int> moment(0, 40);
  size_t reported = 0;
  int kills = 0;
  while (reported < 2 * 1000) {
    ASSERT_LT(kills, 20000) << "the cycler makes no progress";
    QProcess cycler;
    cycler.start(QStringLiteral(PENLARK_CYCLER_BIN), {ini});
    ASSERT_TRUE(cycler.waitForStarted(5000));
    QThread::msleep(static_cast<unsigned long>(moment(random)));
    ::kill(static_cast<pid_t>(cycler.processId()), SIGKILL);
    ASSERT_TRUE(cycler.waitForFinished(5000));
    ++kills;
    for (const QByteArray& line : cycler.readAllStandardOutput().split('\n')) {
      if (line.isEmpty()) continue;
      ASSERT_EQ(line.toStdString(), step(++reported).first) << "after kill " << kills;
    }
    const std::string bytes = ReadBytes(ini).toStdString();
    if (bytes == step(reported + 1).second) ++reported;  // written, killed before it said so
    else ASSERT_EQ(bytes, step(reported).second) << "after kill " << kills;
  }
  ReportCases("killed during profile save and delete", kills,
              "kills at random moments over 1,000 save and delete cycles: the file always "
              "parsed and held the old profile or the new one whole");
}

}  // namespace
