#include "ReliabilityFixture.h"

#include "app/RecentSettings.h"
#include "config/ConfigFile.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <sys/stat.h>
#include <unistd.h>

namespace {

int unwritableCases = 0;

class UnwritableConfigTest : public ReliabilityFixture {
 protected:
  void TearDown() override {
    ReliabilityFixture::TearDown();
    if (!mounted_.isEmpty()) QProcess::execute(QStringLiteral("umount"), {mounted_});
    if (!folder_.isEmpty()) ::chmod(QFile::encodeName(folder_).constData(), 0755);
  }
  static void TearDownTestSuite() {
    ReportCases("PENLARK.INI unwritable", unwritableCases,
                "read-only file, read-only folder, full disk, each under the Options window, a "
                "profile save, a profile delete and the recent settings: the failure message, "
                "the old file intact, no success shown");
  }

  // The program's folder, a configuration in it, and the main window on it.
  void UseFolder(const QString& folder) {
    folder_ = folder;
    pv.ConfigFilePath = folder + QStringLiteral("/PENLARK.INI");
    ASSERT_TRUE(PutBytes(pv.ConfigFilePath, "[Options]\nOrganizer File Path=/data/people.or3\n"
                                            "Organizer Address Section=Address\nSkip Blank Fields=0\n"
                                            "[Address Profiles]\n0=Letters\n[Profile 0]\nBookmark 0=B0\n"
                                            "Field 0=First Name\nSeparator 0=\n"));
    pv.AddressSectionName = QStringLiteral("Address");
    FillProfileList(*form->cboAddressProfile, pv.ConfigFilePath);
    form->cboAddressProfile->setCurrentIndex(0);
  }
  // A small file system of its own on the folder; false (with the reason) when the test
  // cannot mount one.
  bool Mount(const QString& folder, const QString& size, QString* why) {
    if (::geteuid() != 0) {
      *why = QStringLiteral("mounting a small file system needs root");
      return false;
    }
    QDir().mkpath(folder);
    if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", folder}) != 0) {
      *why = QStringLiteral("mount -t tmpfs was refused here");
      return false;
    }
    mounted_ = folder;
    return true;
  }

  // Every writer of the configuration fails with the reason, says so once, and leaves the
  // file as it was.
  void EveryWriterFails(const QString& reason) {
    const QByteArray before = ReadBytes(pv.ConfigFilePath);
    const QString box = QStringLiteral("Penlark Error|") + ConfigWriteFailedText(pv.ConfigFilePath, reason) + "|48";
    struct Writer {
      const char* name;
      std::function<void()> run;
      QString form;
    };
    const Writer writers[] = {
        {"Options", [&] {
           desktop.OnForm(QStringLiteral("frmOptions"), [](QDialog& d) {
             d.findChild<QLineEdit*>(QStringLiteral("txtAddressSection"))->setText(QStringLiteral("Private"));
             d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
           });
           form->mnuOptions_Click();
           EXPECT_EQ(pv.AddressSectionName, QStringLiteral("Address"));
         }, QStringLiteral("frmOptions")},
        {"profile save", [&] {
           desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog& d) {
             d.findChild<QLineEdit*>(QStringLiteral("txtBookmark_0"))->setText(QStringLiteral("Changed"));
             d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
             EXPECT_TRUE(d.isVisible()) << "a failed save keeps the editor open";
           });
           form->cmdProfile_Click();
         }, QStringLiteral("frmProfiles")},
        {"profile delete", [&] {
           desktop.Answer(MsgAnswer::Yes);
           desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog& d) {
             d.findChild<QPushButton*>(QStringLiteral("cmdDelete"))->click();
             EXPECT_EQ(d.findChild<QComboBox*>(QStringLiteral("cboProfileName"))->findText(QStringLiteral("Letters")), 0);
           });
           form->cmdProfile_Click();
         }, QStringLiteral("frmProfiles")},
        {"recent settings", [&] { EXPECT_THROW(SaveRecentSettings(pv), ProgramEnded); }, QString()},
    };
    for (const Writer& w : writers) {
      SCOPED_TRACE(w.name);
      ++unwritableCases;
      desktop = {};
      w.run();
      QStringList shown = Shown(desktop, false, true);
      if (QLatin1String(w.name) == QLatin1String("profile delete")) shown.removeFirst();  // the question
      EXPECT_EQ(shown, w.form.isEmpty() ? QStringList{box} : (QStringList{box, w.form}));
      EXPECT_EQ(ReadBytes(pv.ConfigFilePath), before);
      EXPECT_EQ(QFileInfo(pv.ConfigFilePath).dir().entryList({QStringLiteral("PENLARK.INI.tmp*")}, QDir::AllEntries | QDir::Hidden), QStringList());
    }
  }

  QString mounted_, folder_;
};

TEST_F(UnwritableConfigTest, ReadOnlyFile) {
  ASSERT_NO_FATAL_FAILURE(UseFolder(dir.path()));
  ASSERT_EQ(::chmod(QFile::encodeName(Ini()).constData(), 0444), 0);
  EveryWriterFails(QStringLiteral("Permission denied"));
}

TEST_F(UnwritableConfigTest, ReadOnlyFolder) {
  const QString folder = dir.filePath(QStringLiteral("program"));
  QString why;
  if (::geteuid() != 0) {  // the folder's mode stops everyone but root
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_NO_FATAL_FAILURE(UseFolder(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    EveryWriterFails(QStringLiteral("Permission denied"));
    return;
  }
  if (!Mount(folder, QStringLiteral("1m"), &why)) GTEST_SKIP() << why.toStdString();
  ASSERT_NO_FATAL_FAILURE(UseFolder(folder));
  ASSERT_EQ(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", folder}), 0);
  EveryWriterFails(QStringLiteral("Read-only file system"));
}

TEST_F(UnwritableConfigTest, FullDisk) {
  const QString folder = dir.filePath(QStringLiteral("program"));
  QString why;
  if (!Mount(folder, QStringLiteral("64k"), &why)) GTEST_SKIP() << why.toStdString();
  ASSERT_NO_FATAL_FAILURE(UseFolder(folder));
  QFile filler(folder + QStringLiteral("/filler"));
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size() && filler.flush()) {
  }
  filler.close();
  EveryWriterFails(QStringLiteral("No space left on device"));
}

}  // namespace
