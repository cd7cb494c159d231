#include "ReliabilityFixture.h"

#include "app/RecentSettings.h"
#include "config/ConfigFile.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QPushButton>

#include <sys/stat.h>
#include <unistd.h>

namespace {

int unwritableCases = 0;

class UnwritableConfigTest : public ReliabilityFixture {
 protected:
  void TearDown() override {
    ReliabilityFixture::TearDown();
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    if (mounted_) QProcess::execute(QStringLiteral("umount"), {dir.path()});
  }
  static void TearDownTestSuite() {
    ReportCases("PENLARK.INI unwritable", unwritableCases,
                "read-only folder, full disk, each under a profile delete and the recent "
                "settings: the failure message, the old file intact, no success shown");
  }

  // A small file system of its own on the program's folder: only root may mount one.
  bool Mount(const QString& size) {
    mounted_ = ::geteuid() == 0 &&
               QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", dir.path()}) == 0;
    return mounted_;
  }
  // The configuration in the program's folder, and the main window on it.
  void UseConfiguration() {
    ASSERT_NO_FATAL_FAILURE(WriteConfiguration(QStringLiteral("/data/people.or3")));
    pv.AddressSectionName = QStringLiteral("Address");
    FillProfileList(*form->cboAddressProfile, pv.ConfigFilePath);
    form->cboAddressProfile->setCurrentIndex(0);
  }

  // The writers whose failure no other test makes fail with the reason, say so once and leave
  // the file as it was, with no temporary file beside it. (The Options window's and a profile
  // save's: config.OptionsTest, profiles.ProfilesEditorTest.)
  void EveryWriterFails(const QString& reason) {
    const QByteArray before = ReadBytes(pv.ConfigFilePath);
    const QString box = QStringLiteral("Penlark Error|") + ConfigWriteFailedText(pv.ConfigFilePath, reason) + "|48";
    for (const bool deleting : {true, false}) {
      SCOPED_TRACE(deleting ? "profile delete" : "recent settings");
      ++unwritableCases;
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
  }

  bool mounted_ = false;
};

// The folder's mode stops everyone but root; root meets a read-only file system instead.
TEST_F(UnwritableConfigTest, ReadOnlyFolder) {
  const bool root = ::geteuid() == 0;
  if (root && !Mount(QStringLiteral("1m"))) GTEST_SKIP() << "mount -t tmpfs was refused here";
  ASSERT_NO_FATAL_FAILURE(UseConfiguration());
  ASSERT_EQ(root ? QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", dir.path()})
                 : ::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
  EveryWriterFails(root ? QStringLiteral("Read-only file system") : QStringLiteral("Permission denied"));
}

TEST_F(UnwritableConfigTest, FullDisk) {
  if (!Mount(QStringLiteral("64k"))) GTEST_SKIP() << "mounting a small file system needs root and mount -t tmpfs";
  ASSERT_NO_FATAL_FAILURE(UseConfiguration());
  QFile filler(dir.filePath(QStringLiteral("filler")));
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size() && filler.flush()) {
  }
  filler.close();
  EveryWriterFails(QStringLiteral("No space left on device"));
}

}  // namespace
