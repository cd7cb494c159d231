#include "contract/AutomationContract.h"
#include "contract/DdeContract.h"
#include "PrivateBus.h"
#include "StartsReady.h"
#include "support/Shown.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <unistd.h>

namespace {

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

// The exit code and then what the program said: "0: " is a quiet success.
std::string Ran(const QString& program, const QStringList& arguments) {
  QString said;
  const int code = RunToEnd(program, arguments, QProcessEnvironment::systemEnvironment(), &said);
  return std::to_string(code) + ": " + said.toStdString();
}

const QString kBin = QStringLiteral(PENLARK_INSTALL_BINDIR);
const QString kProgramDir = QStringLiteral(PENLARK_INSTALL_PROGRAMDIR);
const QString kShare = QStringLiteral(PENLARK_INSTALL_DATADIR);
const QString kApplications = kShare + QStringLiteral("/applications");
const QString kIcon = kShare + QStringLiteral("/icons/hicolor/scalable/apps/org.penlark.Penlark.svg");
const QStringList kDesktopEntries = {QStringLiteral("org.penlark.Organizer.desktop"),
                                     QStringLiteral("org.penlark.Penlark.desktop"),
                                     QStringLiteral("org.penlark.Word.desktop")};
// penlark alone lives in a folder of its own; penlark-writer comes with PENLARK_WITH_WRITER.
const QStringList kPrograms = {QStringLiteral("penlark"), QStringLiteral("penlark-organizer"),
                               QStringLiteral("penlark-word"), QStringLiteral("penlark-writer")};
const qsizetype kInstalledPrograms = PENLARK_WITH_WRITER ? 4 : 3;

// The build tree installed, as a person would, into a fresh prefix for each test.
class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(prefix.isValid());
    const std::string installed = Ran(QStringLiteral(PENLARK_CMAKE), {"--install", PENLARK_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(installed.starts_with("0: ")) << installed;
  }

  QString At(const QString& relative) const { return prefix.path() + u'/' + relative; }

  QTemporaryDir prefix;
};

// Each program where it belongs (penlark-writer finding its libraries) with its manual
// page, the icon scalable and at every fixed size, and the AppStream metainfo (valid).
TEST_F(InstallTest, ProgramsManualPagesIconsAndMetainfo) {
  QStringList pages;
  for (const QString& program : kPrograms.first(kInstalledPrograms)) {
    SCOPED_TRACE(program.toStdString());
    const QFileInfo info(At((program == QLatin1String("penlark") ? kProgramDir : kBin) + u'/' + program));
    EXPECT_TRUE(info.isFile() && !info.isSymLink() && info.isExecutable());
    QFile page(At(kShare + QStringLiteral("/man/man1/") + program + QStringLiteral(".1")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readLine().startsWith(".TH " + program.toUpper().replace(u'-', QStringLiteral("\\-")).toUtf8() + " 1 "));
    pages << page.fileName().section(u'/', -1);
  }
  pages.sort();
  EXPECT_EQ(Entries(At(kShare + QStringLiteral("/man/man1"))), pages);
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

  QFile icon(At(kIcon));
  ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
  QXmlStreamReader svg(&icon);
  ASSERT_TRUE(svg.readNextStartElement()) << svg.errorString().toStdString();
  EXPECT_EQ(svg.name().toString() + u' ' + svg.namespaceUri().toString(), QStringLiteral("svg http://www.w3.org/2000/svg"));
  while (!svg.atEnd()) svg.readNext();
  EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString png = kShare + QStringLiteral("/icons/hicolor/%1x%1/apps/org.penlark.Penlark.png").arg(size);
    EXPECT_EQ(QImage(At(png)).size(), QSize(size, size)) << png.toStdString();
  }
  const std::string valid = Ran(QStringLiteral("appstreamcli"),
                                {"validate", "--no-net", At(kShare + QStringLiteral("/metainfo/org.penlark.Penlark.metainfo.xml"))});
  EXPECT_TRUE(valid.starts_with("0: ")) << valid;
#if PENLARK_WITH_WRITER
  // Its UNO libraries sit outside the loader's search path: the installed program must
  // still find them (a bad argument is refused with 2 only once it has loaded).
  const std::string writer = Ran(At(kBin + QStringLiteral("/penlark-writer")), {QStringLiteral("extra")});
  EXPECT_TRUE(writer.starts_with("2: ")) << writer;
#endif
}

// The entries validate (hints and warnings count too) and start installed programs; only
// the window programs are offered in menus, as the address book needs a file. The word
// processor's is offered for Penlark letters, known by name, and not for every text file.
TEST_F(InstallTest, DesktopEntriesAndTheLetterType) {
  EXPECT_EQ(Entries(At(kApplications)), kDesktopEntries);
  for (const QString& name : kDesktopEntries) {
    SCOPED_TRACE(name.toStdString());
    const QString entry = At(kApplications + u'/' + name);
    EXPECT_EQ(Ran(QStringLiteral("desktop-file-validate"), {entry}), "0: ");
    for (const char* key : {"Name", "Comment", "Type", "Terminal", "Categories"})
      EXPECT_NE(DesktopValue(entry, QString::fromLatin1(key)), QStringLiteral("<missing>")) << key;
    const QString program = DesktopValue(entry, QStringLiteral("Exec")).section(u' ', 0, 0);
    EXPECT_TRUE(QFileInfo(At(kBin + u'/' + program)).isExecutable()) << program.toStdString();
    EXPECT_EQ(DesktopValue(entry, QStringLiteral("Icon")) + QStringLiteral(".svg"), QFileInfo(kIcon).fileName());
  }
  const auto value = [&](const char* entry, const char* key) {
    return DesktopValue(At(kApplications + QStringLiteral("/org.penlark.") + QLatin1String(entry)), QLatin1String(key));
  };
  EXPECT_EQ(value("Penlark.desktop", "Terminal") + value("Organizer.desktop", "NoDisplay") + value("Word.desktop", "MimeType"),
            QStringLiteral("falsetruetext/x-penlark-letter;"));

  const std::string updated = Ran(QStringLiteral("update-mime-database"), {At(kShare + QStringLiteral("/mime"))});
  ASSERT_TRUE(updated.starts_with("0: ")) << updated;
  const bool hadDataDirs = qEnvironmentVariableIsSet("XDG_DATA_DIRS");
  const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
  const auto restore = qScopeGuard([&] { hadDataDirs ? qputenv("XDG_DATA_DIRS", dataDirs) : qunsetenv("XDG_DATA_DIRS"); });
  qputenv("XDG_DATA_DIRS", (At(kShare) + QStringLiteral(":/usr/share")).toLocal8Bit());
  const QMimeDatabase types;
  const auto type = [&](const char* file) { return types.mimeTypeForFile(QLatin1String(file), QMimeDatabase::MatchExtension); };
  EXPECT_EQ(type("smith.letter.txt").name() + type("smith.letter").name() + type("notes.txt").name(),
            QStringLiteral("text/x-penlark-lettertext/x-penlark-lettertext/plain"));
  EXPECT_TRUE(type("smith.letter.txt").inherits(QStringLiteral("text/plain")));
}

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

  ASSERT_NO_FATAL_FAILURE(ExpectStartsReady(At(kBin + QStringLiteral("/penlark")), bus.Environment()));

  // Starting reads the configuration and writes nothing, beside the program or in bin.
  EXPECT_EQ(ReadBytes(ini), configuration);
  EXPECT_EQ(Entries(At(kProgramDir)), (QStringList{QStringLiteral("PENLARK.INI"), QStringLiteral("penlark")}));
  EXPECT_EQ(Entries(At(kBin)), binBefore);
}

}  // namespace
