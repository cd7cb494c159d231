#include "AppFixture.h"

#include <QFile>
#include <QProcess>

namespace {

// The program itself, started as a person would, beside a configuration of its own: with
// PENLARK_EXIT_WHEN_READY it says so once its window has loaded, and ends cleanly.
TEST_F(AppFixture, TheProgramSaysWhenItsLoadedWindowIsReady) {
  const QString program = dir.filePath(QStringLiteral("penlark"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(PENLARK_BIN), program));
  const QString dataFile = WriteAddressBook();
  WriteConfiguration(dataFile);
  Set("Recent Settings", "Address Profile", QStringLiteral("Letters"));
  ASSERT_TRUE(StartOrganizer(dataFile)) << bus.lastError().toStdString();
  ASSERT_TRUE(StartWord97(WriteLetter(QStringLiteral("To: [[Name]]\n"))));
  const QByteArray before = IniBytes();

  QProcess penlark;
  QProcessEnvironment environment = bus.Environment();
  environment.insert(QStringLiteral("PENLARK_EXIT_WHEN_READY"), QStringLiteral("1"));
  penlark.setProcessEnvironment(environment);
  penlark.start(program, {});
  ASSERT_TRUE(penlark.waitForFinished(30000)) << "no start-up box may wait for an answer";
  EXPECT_EQ(penlark.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(penlark.exitCode(), 0);
  EXPECT_EQ(penlark.readAllStandardOutput(), QByteArray("penlark: ready\n"));
  EXPECT_EQ(IniBytes(), before);
}

}  // namespace
