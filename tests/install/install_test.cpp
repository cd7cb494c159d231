#include "contract/AutomationContract.h"
#include "contract/DdeContract.h"
#include "PrivateBus.h"
#include "support/Shown.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <memory>

#include <unistd.h>

namespace {

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

const QString kBin = QStringLiteral(PENLARK_INSTALL_BINDIR);
const QString kProgramDir = QStringLiteral(PENLARK_INSTALL_PROGRAMDIR);
const QString kApplications = QStringLiteral(PENLARK_INSTALL_DATADIR "/applications");
const QString kIcon = QStringLiteral(PENLARK_INSTALL_DATADIR "/icons/hicolor/scalable/apps/org.penlark.Penlark.svg");
const QStringList kDesktopEntries = {QStringLiteral("org.penlark.Organizer.desktop"),
                                     QStringLiteral("org.penlark.Penlark.desktop"),
                                     QStringLiteral("org.penlark.Word.desktop")};

// The build tree installed, as a person would, into a fresh prefix for each test.
class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(prefix.isValid());
    QString log;
    ASSERT_EQ(RunToEnd(QStringLiteral(PENLARK_CMAKE), {"--install", PENLARK_BUILD_DIR, "--prefix", prefix.path()},
                       QProcessEnvironment::systemEnvironment(), &log),
              0)
        << log.toStdString();
  }

  QString At(const QString& relative) const { return prefix.path() + u'/' + relative; }

  QTemporaryDir prefix;
};

TEST_F(InstallTest, PutsEachProgramWhereItBelongsAndLinksPenlarkFromBin) {
  QStringList programs = {kProgramDir + QStringLiteral("/penlark"), kBin + QStringLiteral("/penlark-organizer"),
                          kBin + QStringLiteral("/penlark-word")};
#if PENLARK_WITH_WRITER
  programs << kBin + QStringLiteral("/penlark-writer");
#endif
  for (const QString& program : programs) {
    SCOPED_TRACE(program.toStdString());
    const QFileInfo info(At(program));
    EXPECT_TRUE(info.isFile() && !info.isSymLink());
    EXPECT_TRUE(info.isExecutable());
  }
  // penlark's folder holds the program alone: no PENLARK.INI comes with it.
  EXPECT_EQ(Entries(At(kProgramDir)), QStringList{QStringLiteral("penlark")});
  for (QDirIterator it(prefix.path(), QDirIterator::Subdirectories); it.hasNext();)
    EXPECT_NE(QFileInfo(it.next()).fileName().toUpper(), QStringLiteral("PENLARK.INI")) << it.filePath().toStdString();
  // bin holds a link to penlark, relative: one naming the prefix would break in a moved
  // tree or under DESTDIR.
  const QString link = At(kBin + QStringLiteral("/penlark"));
  ASSERT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(QFileInfo(link).canonicalFilePath(),
            QFileInfo(At(kProgramDir + QStringLiteral("/penlark"))).canonicalFilePath());
  char target[4096];
  const ssize_t size = ::readlink(QFile::encodeName(link).constData(), target, sizeof target);
  ASSERT_GT(size, 0);
  EXPECT_NE(target[0], '/') << std::string(target, static_cast<size_t>(size));
}

TEST_F(InstallTest, DesktopEntriesValidateAndStartInstalledPrograms) {
  EXPECT_EQ(Entries(At(kApplications)), kDesktopEntries);
  for (const QString& name : kDesktopEntries) {
    SCOPED_TRACE(name.toStdString());
    const QString entry = At(kApplications + u'/' + name);
    QString said;
    EXPECT_EQ(RunToEnd(QStringLiteral("desktop-file-validate"), {entry}, QProcessEnvironment::systemEnvironment(), &said), 0) << said.toStdString();
    EXPECT_EQ(said, QString()) << "hints and warnings count too";
    for (const char* key : {"Name", "Comment", "Type", "Terminal", "Categories"})
      EXPECT_NE(DesktopValue(entry, QString::fromLatin1(key)), QStringLiteral("<missing>")) << key;
    const QString program = DesktopValue(entry, QStringLiteral("Exec")).section(u' ', 0, 0);
    EXPECT_TRUE(QFileInfo(At(kBin + u'/' + program)).isExecutable()) << program.toStdString();
    EXPECT_EQ(DesktopValue(entry, QStringLiteral("Icon")) + QStringLiteral(".svg"), QFileInfo(kIcon).fileName());
  }
  // Only the window programs are offered in menus; the address book needs a file.
  EXPECT_EQ(DesktopValue(At(kApplications + QStringLiteral("/org.penlark.Penlark.desktop")), QStringLiteral("Terminal")),
            QStringLiteral("false"));
  EXPECT_EQ(DesktopValue(At(kApplications + QStringLiteral("/org.penlark.Organizer.desktop")), QStringLiteral("NoDisplay")),
            QStringLiteral("true"));
}

// The word processor's entry is offered for Penlark letters, which are known by name, and
// not for every text file.
TEST_F(InstallTest, LettersHaveATypeOfTheirOwnBelowPlainText) {
  EXPECT_EQ(DesktopValue(At(kApplications + QStringLiteral("/org.penlark.Word.desktop")), QStringLiteral("MimeType")),
            QStringLiteral("text/x-penlark-letter;"));
  const QString share = At(QStringLiteral(PENLARK_INSTALL_DATADIR));
  QString said;
  ASSERT_EQ(RunToEnd(QStringLiteral("update-mime-database"), {share + QStringLiteral("/mime")},
                     QProcessEnvironment::systemEnvironment(), &said),
            0)
      << said.toStdString();
  const bool hadDataDirs = qEnvironmentVariableIsSet("XDG_DATA_DIRS");
  const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
  const auto restore = qScopeGuard([&] { hadDataDirs ? qputenv("XDG_DATA_DIRS", dataDirs) : qunsetenv("XDG_DATA_DIRS"); });
  qputenv("XDG_DATA_DIRS", (share + QStringLiteral(":/usr/share")).toLocal8Bit());
  const QMimeDatabase types;
  const auto type = [&](const char* file) { return types.mimeTypeForFile(QLatin1String(file), QMimeDatabase::MatchExtension); };
  EXPECT_EQ(type("smith.letter.txt").name(), QStringLiteral("text/x-penlark-letter"));
  EXPECT_TRUE(type("smith.letter.txt").inherits(QStringLiteral("text/plain")));
  EXPECT_EQ(type("smith.letter").name(), QStringLiteral("text/x-penlark-letter"));
  EXPECT_EQ(type("notes.txt").name(), QStringLiteral("text/plain"));
}

// What a menu, a software centre and man read besides: the icon, scalable and at every
// fixed size, the AppStream metainfo (valid), and a manual page for each program.
TEST_F(InstallTest, IconsMetainfoAndManualPages) {
  QFile icon(At(kIcon));
  ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
  QXmlStreamReader svg(&icon);
  ASSERT_TRUE(svg.readNextStartElement()) << svg.errorString().toStdString();
  EXPECT_EQ(svg.name(), QStringLiteral("svg"));
  EXPECT_EQ(svg.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
  while (!svg.atEnd()) svg.readNext();
  EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString png = QStringLiteral(PENLARK_INSTALL_DATADIR "/icons/hicolor/%1x%1/apps/org.penlark.Penlark.png").arg(size);
    EXPECT_EQ(QImage(At(png)).size(), QSize(size, size)) << png.toStdString();
  }
  QString said;
  EXPECT_EQ(RunToEnd(QStringLiteral("appstreamcli"),
                     {"validate", "--no-net", At(QStringLiteral(PENLARK_INSTALL_DATADIR "/metainfo/org.penlark.Penlark.metainfo.xml"))},
                     QProcessEnvironment::systemEnvironment(), &said),
            0)
      << said.toStdString();
  QStringList programs = {QStringLiteral("penlark"), QStringLiteral("penlark-organizer"), QStringLiteral("penlark-word")};
#if PENLARK_WITH_WRITER
  programs << QStringLiteral("penlark-writer");
#endif
  QStringList pages;
  for (const QString& program : programs) pages << program + QStringLiteral(".1");
  pages.sort();
  EXPECT_EQ(Entries(At(QStringLiteral(PENLARK_INSTALL_DATADIR "/man/man1"))), pages);
  for (const QString& program : programs) {
    QFile page(At(QStringLiteral(PENLARK_INSTALL_DATADIR "/man/man1/") + program + QStringLiteral(".1")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << program.toStdString();
    EXPECT_TRUE(page.readLine().startsWith(".TH " + program.toUpper().replace(u'-', QStringLiteral("\\-")).toUtf8() + " 1 "))
        << program.toStdString();
  }
}

#if PENLARK_WITH_WRITER
// Its UNO libraries sit outside the loader's search path: the installed program must
// still find them (a bad argument is refused with 2 only once it has loaded).
TEST_F(InstallTest, InstalledWriterFindsItsLibraries) {
  QString said;
  EXPECT_EQ(RunToEnd(At(kBin + QStringLiteral("/penlark-writer")), {QStringLiteral("extra")},
                     QProcessEnvironment::systemEnvironment(), &said), 2)
      << said.toStdString();
}
#endif

// Started through its link, penlark finds the configuration beside the program itself:
// were it looking in bin, the first-start boxes would wait for an answer instead.
TEST_F(InstallTest, InstalledPenlarkStartsBesideItsOwnConfiguration) {
  PrivateBus bus;
  ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
  ASSERT_TRUE(bus.Start(At(kBin + QStringLiteral("/penlark-organizer")),
                        {QStringLiteral(PENLARK_TEST_DATA "/addresses.json")},
                        DdeServiceName(QStringLiteral("Organize200"))))
      << bus.lastError().toStdString();
  ASSERT_TRUE(bus.Start(At(kBin + QStringLiteral("/penlark-word")), {QStringLiteral("--dialect"), QStringLiteral("word97"), QStringLiteral(PENLARK_TEST_DATA "/letter.txt")},
                        RunningObjectName(QStringLiteral("Word.Application.8"))))
      << bus.lastError().toStdString();

  const QString ini = At(kProgramDir + QStringLiteral("/PENLARK.INI"));
  const QByteArray configuration =
      "[Options]\nOrganizer File Path=" PENLARK_TEST_DATA "/addresses.json\n"
      "Organizer Address Section=Address\n\n[Address Profiles]\n0=Letters\n\n"
      "[Profile 0]\nBookmark 0=Name\nField 0=Last Name\nSeparator 0=\n";
  ASSERT_TRUE(PutBytes(ini, configuration));
  const QStringList binBefore = Entries(At(kBin));

  QProcess penlark;
  QProcessEnvironment environment = bus.Environment();
  environment.insert(QStringLiteral("PENLARK_EXIT_WHEN_READY"), QStringLiteral("1"));
  penlark.setProcessEnvironment(environment);
  penlark.start(At(kBin + QStringLiteral("/penlark")), {});
  const bool ended = penlark.waitForFinished(30000);
  if (!ended) penlark.kill();
  ASSERT_TRUE(ended) << "a start-up box is waiting: " << penlark.readAllStandardError().toStdString();
  EXPECT_EQ(penlark.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(penlark.exitCode(), 0) << penlark.readAllStandardError().toStdString();
  EXPECT_EQ(penlark.readAllStandardOutput(), QByteArray("penlark: ready\n"));

  // Starting reads the configuration and writes nothing, beside the program or in bin.
  EXPECT_EQ(ReadBytes(ini), configuration);
  EXPECT_EQ(Entries(At(kProgramDir)), (QStringList{QStringLiteral("PENLARK.INI"), QStringLiteral("penlark")}));
  EXPECT_EQ(Entries(At(kBin)), binBefore);
}

}  // namespace
