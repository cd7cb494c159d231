#include "ReliabilityFixture.h"

#include <QProcess>

namespace {

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
