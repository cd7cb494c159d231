#include "CycledProfile.h"
#include "ReliabilityFixture.h"

#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"

#include <QProcess>
#include <QStringDecoder>
#include <QThread>

#include <random>
#include <tuple>

#include <signal.h>

namespace {

// Which step of the cycle the file holds: 0 nothing yet, 2g-1 profile g saved, 2g
// profile g deleted; or why it is broken.
struct FileState {
  int step = 0;
  QString broken;
};

FileState ReadState(const QString& ini) {
  if (!QFile::exists(ini)) return {};
  const QByteArray bytes = ReadBytes(ini);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8(bytes);
  if (utf8.hasError() || !text.endsWith(u'\n')) return {0, QStringLiteral("not whole UTF-8 lines")};
  for (const QString& line : text.chopped(1).split(u'\n'))
    if (!(line.startsWith(u'[') && line.endsWith(u']')) && !line.contains(u'='))
      return {0, QStringLiteral("a line that is neither a header nor a key: ") + line};
  const QString name = ReadConfigString(ini, ConfigKeys::ProfileIndex, QStringLiteral("0"));
  const ProfileRows rows = ReadProfileRows(ini, 0);
  const int generation = rows[0].bookmark.section(u'-', 1).toInt();
  const ProfileRows whole = CycledRows(generation);
  for (int r = 0; r < kProfileRows; ++r)
    if (std::tie(rows[r].bookmark, rows[r].field, rows[r].separator) != std::tie(whole[r].bookmark, whole[r].field, whole[r].separator))
      return {0, QStringLiteral("row %1 is not of generation %2: a mixture").arg(r).arg(generation)};
  if (name == CycledName(generation)) return {2 * generation - 1, {}};
  if (name == kDeletedProfile) return {2 * generation, {}};
  return {0, QStringLiteral("the name \"%1\" belongs to no generation %2").arg(name).arg(generation)};
}

// The cycler is killed at random moments, again and again, until it has saved and
// deleted the profile 1,000 times; after every kill the file must hold the step it last
// reported or the one after it, whole.
TEST(KilledWritesTest, AKillDuringSaveOrDeleteLeavesTheOldProfileOrTheNew) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString ini = dir.filePath(QStringLiteral("PENLARK.INI"));
  std::mt19937 random(7);
  std::uniform_int_distribution<int> moment(0, 40);
  constexpr int kCycles = 1000;
  int step = 0, kills = 0;
  while (step < 2 * kCycles) {
    ASSERT_LT(kills, 20000) << "the cycler makes no progress";
    QProcess cycler;
    cycler.start(QStringLiteral(PENLARK_CYCLER_BIN), {ini});
    ASSERT_TRUE(cycler.waitForStarted(5000));
    QThread::msleep(static_cast<unsigned long>(moment(random)));
    ::kill(static_cast<pid_t>(cycler.processId()), SIGKILL);
    ASSERT_TRUE(cycler.waitForFinished(5000));
    ++kills;
    int reported = step;
    for (const QByteArray& line : cycler.readAllStandardOutput().split('\n')) {
      if (line.isEmpty()) continue;
      const QList<QByteArray> words = line.split(' ');
      ASSERT_EQ(words.size(), 2) << line.toStdString();
      const int next = 2 * words[1].toInt() - (words[0] == "saved" ? 1 : 0);
      ASSERT_EQ(next, reported + 1) << "the cycler skipped a step: " << line.toStdString();
      reported = next;
    }
    const FileState state = ReadState(ini);
    ASSERT_EQ(state.broken, QString()) << "after kill " << kills;
    ASSERT_TRUE(state.step == reported || state.step == reported + 1)
        << "after kill " << kills << " the file holds step " << state.step << ", reported " << reported;
    step = state.step;
  }
  ReportCases("killed during profile save and delete", kills,
              "kills at random moments over 1,000 save and delete cycles: the file always "
              "parsed and held the old profile or the new one whole");
}

}  // namespace
