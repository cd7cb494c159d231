#include "SectionWalk.h"
#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray Card(const char* family, const char* given, const char* categories = nullptr) {
  QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + QByteArray(family) + ";" + given + ";;;\r\n";
  if (categories) card += "CATEGORIES:" + QByteArray(categories) + "\r\n";
  return card + "END:VCARD\r\n";
}

bool Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One card or many per file, any case of ".vcf"; other files and sub-folders are not read.
// A file of its own is served by its path.
TEST(VcardFolderTest, EveryVcfFileOfTheFolderIsOneAddressBookNamedAfterIt) {
  PrivateBus bus;
  ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
  QTemporaryDir temp;
  QDir dir(temp.path());
  ASSERT_TRUE(dir.mkpath(QStringLiteral("contacts/sub")));
  const QString folder = dir.filePath(QStringLiteral("contacts"));
  ASSERT_TRUE(Write(folder + "/a.vcf", Card("Hale", "Ann", "Clients,Leeds") + Card("Brown", "Liz")));
  ASSERT_TRUE(Write(folder + "/B.VCF", Card("Cole", "Sam", "clients,Contacts")));
  ASSERT_TRUE(Write(folder + "/c.vcf", "BEGIN:VCARD\r\nN:Unended;Card\r\n" + Card("Dunn", "Al")));
  ASSERT_TRUE(Write(folder + "/notes.txt", Card("Text", "Not")));
  ASSERT_TRUE(Write(folder + "/sub/d.vcf", Card("Below", "Not")));
  ASSERT_TRUE(QFile::link(folder, dir.filePath(QStringLiteral("link"))));
  ASSERT_TRUE(Write(dir.filePath(QStringLiteral("empty.vcf")), ""));

  // A single file served beside the folder.
  const QString file = dir.filePath(QStringLiteral("contacts.vcf"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(PENLARK_TEST_DATA "/vcard/export-3.0.vcf"), file));
  const QString service = DdeServiceName(QStringLiteral("Organize200"));
  QProcess* organizer = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), {folder + u'/', file}, service);
  ASSERT_NE(organizer, nullptr) << bus.lastError().toStdString();
  DdeTextBox box(nullptr, bus.connection());
  EXPECT_EQ(SectionNames(box, folder, QStringLiteral("Contacts")),
            QStringList({"Brown Liz", "Cole Sam", "Dunn Al", "Hale Ann"}));
  EXPECT_EQ(SectionNames(box, dir.filePath(QStringLiteral("link")), QStringLiteral("clients")),
            QStringList({"Cole Sam", "Hale Ann"}));
  EXPECT_EQ(SectionNames(box, folder + QStringLiteral("/./"), QStringLiteral("Leeds")), QStringList({"Hale Ann"}));
  box.SetLinkTopic(QStringLiteral("Organize200|") + folder + QStringLiteral("/a.vcf"));
  EXPECT_THROW(box.SetLinkMode(2), std::exception);
  EXPECT_EQ(SectionNames(box, file, QStringLiteral("Hull")), QStringList{"Brown Carol"});
  box.SetLinkTopic(QStringLiteral("Organize200|") + file);
  box.SetLinkMode(2);
  for (const char* command : {"[SelectSection(\"contacts\")]", "[SelectIndex(\"Company\")]", "[Find(\"brown\")]"})
    box.LinkExecute(QString::fromLatin1(command));
  box.SetLinkItem(QStringLiteral("Address"));
  box.LinkRequest();
  EXPECT_EQ(box.Text(), QStringLiteral("Quayside House\r2 Dock Street\rSuite 4"));

  bus.Stop(organizer);
  const QString err = QString::fromUtf8(organizer->readAllStandardError());
  EXPECT_TRUE(err.contains(folder + QStringLiteral("/c.vcf:1: card skipped"))) << err.toStdString();
  QString out;
  EXPECT_NE(bus.Run(QStringLiteral(PENLARK_ORGANIZER_BIN), {dir.filePath(QStringLiteral("none"))}, &out, &out), 0);
  EXPECT_TRUE(out.contains(QStringLiteral("none: cannot open"))) << out.toStdString();
}

}  // namespace
