#include "ReliabilityFixture.h"

#include "app/RecentSettings.h"
#include "config/ConfigFile.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QScopeGuard>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using UnwritableConfigTest = ReliabilityFixture;

// A full disk (a 64 KB file system of its own on the program's folder: root alone may mount
// one), then a read-only folder: its mode stops everyone but root, who meets a read-only
// file system instead. The writers whose failure no other test makes (the Options window's
// and a profile save's: config.OptionsTest, profiles.ProfilesEditorTest) fail with the
// reason, say so once, and leave the file as it was with no temporary file beside it.
TEST_F(UnwritableConfigTest, FullDiskAndReadOnlyFolder) {
  const bool root = ::geteuid() == 0;
  const bool mounted = root && QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir.path()}) == 0;
  const auto restore = qScopeGuard([&] {
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    if (mounted) QProcess::execute(QStringLiteral("umount"), {dir.path()});
  });
  if (root && !mounted) GTEST_SKIP() << "mount -t tmpfs was refused here";
  ASSERT_NO_FATAL_FAILURE(WriteConfiguration(QStringLiteral("/data/people.or3")));
  pv.AddressSectionName = QStringLiteral("Address");
  FillProfileList(*form->cboAddressProfile, pv.ConfigFilePath);
  form->cboAddressProfile->setCurrentIndex(0);
  const QByteArray before = ReadBytes(pv.ConfigFilePath);
  int cases = 0;
  const auto everyWriterFails = [&](const QString& reason) {
    const QString box = QStringLiteral("Penlark Error|") + ConfigWriteFailedText(pv.ConfigFilePath, reason) + "|48";
    for (const bool deleting : {true, false}) {
      SCOPED_TRACE((deleting ? "profile delete: " : "recent settings: ") + reason.toStdString());
      ++cases;
      desktop = {};
      if (deleting) {
        desktop.Answer(MsgAnswer::Yes);
        desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog& d) {
          d.findChild<QPushButton*>(QStringLiteral("cmdDelete"))->click();
          EXPECT_EQ(d.findChild<QComboBox*>(QStringLiteral("cboProfileName"))->findText(QStringLiteral("Letters")), 0);
        });
        form->cmdProfile_Click();
      } else {
        EXPECT_THROW(SaveRecentSettings(pv), ProgramEnded);
      }
      QStringList shown = Shown(desktop, false, true);
      if (deleting) shown.removeFirst();  // the question
      EXPECT_EQ(shown, deleting ? (QStringList{box, QStringLiteral("frmProfiles")}) : QStringList{box});
      EXPECT_EQ(ReadBytes(pv.ConfigFilePath), before);
      EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("PENLARK.INI.tmp*")}, QDir::AllEntries | QDir::Hidden), QStringList());
    }
  };
  if (root) {
    QFile filler(dir.filePath(QStringLiteral("filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    everyWriterFails(QStringLiteral("No space left on device"));
    ASSERT_TRUE(filler.remove());
  }
  ASSERT_EQ(root ? QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", dir.path()})
                 : ::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
  everyWriterFails(root ? QStringLiteral("Read-only file system") : QStringLiteral("Permission denied"));
  ReportCases("PENLARK.INI unwritable", cases,
              "full disk, read-only folder, each under a profile delete and the recent settings: "
              "the failure message, the old file intact, no success shown");
}

}  // namespace
