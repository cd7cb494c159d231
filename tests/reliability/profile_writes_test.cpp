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
    cycler.start(QStringLiteral(PENLARK_PROFILE_WRITER_BIN), {ini, QStringLiteral("--cycle")});
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

// Two processes write different keys of one file a thousand times each, at once. Every
// write lands, the file parses after each, and the lines neither writes keep their bytes.
TEST(ConcurrentWritesTest, TwoWritersAtOnceLoseNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString ini = dir.filePath(QStringLiteral("PENLARK.INI"));
  const QByteArray windows = "[Profile 0]\r\nSeparator 0=\xB6\xBB\r\n";  // Windows-1252
  ASSERT_TRUE(PutBytes(ini, windows));
  constexpr int kWrites = 1000;
  QProcess writers[2];
  const QString names[2] = {QStringLiteral("A"), QStringLiteral("B")};
  for (int i = 0; i < 2; ++i)
    writers[i].start(QStringLiteral(PENLARK_PROFILE_WRITER_BIN), {ini, names[i], names[1 - i], QString::number(kWrites)});
  for (QProcess& writer : writers) {
    ASSERT_TRUE(writer.waitForFinished(240000));
    EXPECT_EQ(writer.readAllStandardError().toStdString(), "");
    EXPECT_EQ(writer.exitStatus() == QProcess::NormalExit ? writer.exitCode() : -1, 0);
  }
  const QByteArray after = ReadBytes(ini);
  EXPECT_TRUE(after == windows + "[Writers]\r\nA=1000\r\nB=1000\r\n" ||
              after == windows + "[Writers]\r\nB=1000\r\nA=1000\r\n")
      << after.toStdString();
  ReportCases("two writers at once", 2 * kWrites,
              "two processes writing different keys at once: every write landed, the file "
              "parsed after each, the untouched Windows-1252 lines kept their bytes");
}

}  // namespace
