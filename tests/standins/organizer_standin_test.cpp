#include "bus/DdeTextBox.h"
#include "runtime/RuntimeError.h"
#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <tuple>

namespace {

const QString kSample = QStringLiteral(PENLARK_TEST_DATA "/addresses.json");
const QString kOther = QStringLiteral(PENLARK_TEST_DATA "/other-addresses.json");

int ErrorNumberOf(const std::function<void()>& action) try {
  action();
  return 0;
} catch (const RuntimeError& error) {
  return error.number();
}

class OrganizerStandinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString(); }

  QProcess* Start(const QStringList& arguments) {
    QProcess* process = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), arguments, kService);
    EXPECT_NE(process, nullptr) << bus.lastError().toStdString();
    return process;
  }

  // A conversation on the file's "Address" section by last name.
  static void Open(DdeTextBox& on, const QString& path) {
    on.SetLinkTopic(QStringLiteral("Organize200|") + path);
    on.SetLinkMode(2);
    on.LinkExecute(QStringLiteral("[SelectSection(\"Address\")]"));
    on.LinkExecute(QStringLiteral("[SelectIndex(\"LastName\")]"));
  }

  QString Request(const QString& item) {
    box.SetLinkItem(item);
    box.LinkRequest();
    return box.Text();
  }

  void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
  }

  const QString kService = DdeServiceName(QStringLiteral("Organize200"));
  PrivateBus bus;
  QTemporaryDir dir;
  DdeTextBox box{nullptr, bus.connection()};
};

TEST_F(OrganizerStandinTest, UnusableDataFileIsNamedAndNothingIsServed) {
  const std::tuple<const char*, QByteArray, QString> rows[] = {  // file, its bytes (null: none), what is said
      {"syntax.json", "{\n  \"sections\": [\n    {\"name\": \"Address\" \"records\": []}\n  ]\n}\n",
       ".json:3: not valid JSON"},
      {"missing.json", QByteArray(), ": cannot open"},
      {"field.json", R"({"sections": [{"name": "A", "records": [{"Lastname": "Lee"}]}]})", "\"Lastname\""},
      {"number.json", R"({"sections": [{"name": "A", "records": [{"Zip": 12345}]}]})", "\"Zip\""},
  };
  for (const auto& [name, bytes, says] : rows) {
    SCOPED_TRACE(name);
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!bytes.isNull()) WriteFile(path, bytes);
    QString err;
    EXPECT_NE(bus.Run(QStringLiteral(PENLARK_ORGANIZER_BIN), {kSample, path}, nullptr, &err), 0);
    EXPECT_TRUE(err.contains(path + u':') && err.contains(says)) << err.toStdString();
  }
  EXPECT_FALSE(bus.HasName(kService));
}

TEST_F(OrganizerStandinTest, TopicIsAnyPathToAServedFile) {
  const QString served = dir.filePath(QStringLiteral("book.json"));
  ASSERT_TRUE(QFile::copy(kSample, served));
  ASSERT_TRUE(QFile::link(served, dir.filePath(QStringLiteral("link.json"))));
  ASSERT_NE(Start({kOther, QDir::current().relativeFilePath(served)}), nullptr);
  const std::pair<QString, int> rows[] = {  // topic, error
      {served, 0}, {QDir::current().relativeFilePath(served), 0}, {dir.filePath(QStringLiteral("link.json")), 0},
      {kOther, 0}, {kSample, 282} /* same bytes, another file */, {dir.filePath(QStringLiteral("none.json")), 282},
  };
  for (const auto& [topic, error] : rows) {
    SCOPED_TRACE(topic.toStdString());
    DdeTextBox other(nullptr, bus.connection());
    EXPECT_EQ(ErrorNumberOf([&, topic = topic] { Open(other, topic); }), error);
    EXPECT_EQ(other.LinkMode(), error ? 0 : 2);
  }
}

// The search tests use the commands as they should be written; written any other way each
// is refused with 285 and the conversation goes on.
TEST_F(OrganizerStandinTest, StrictCommandsThenA286StallThenARestartedServerThatIsNotThePartner) {
  QProcess* organizer = Start({QStringLiteral("--stall-item"), QStringLiteral("Zip"), kSample});
  ASSERT_NE(organizer, nullptr);
  Open(box, kSample);
  for (const char* command : {R"([selectsection("Address")])", R"([SelectSection( "Address")])",
                              R"(SelectSection("Address"))", R"([SelectSection("Address")][Find("Lee")])",
                              R"([Find("Le"e")])", R"([Sort("LastName")])", ""}) {
    SCOPED_TRACE(command);
    EXPECT_EQ(ErrorNumberOf([&] { box.LinkExecute(QString::fromUtf8(command)); }), 285);
  }
  EXPECT_EQ(ErrorNumberOf([&] { Request(QStringLiteral("business/title")); }), 285);
  box.SetLinkTimeout(60);
  box.LinkExecute(QStringLiteral("[Find(\"LEE\")]"));
  EXPECT_EQ(ErrorNumberOf([&] { Request(QStringLiteral("Zip")); }), 286);
  EXPECT_EQ(Request(QStringLiteral("City")), QStringLiteral("Leeds"));
  bus.Stop(organizer);
  ASSERT_TRUE(bus.WaitNameGone(kService));
  EXPECT_EQ(ErrorNumberOf([&] { box.LinkExecute(QStringLiteral("[Find(\"x\")]")); }), 291);
  ASSERT_NE(Start({kSample}), nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { Request(QStringLiteral("RESULT")); }), 291);
}

}  // namespace
