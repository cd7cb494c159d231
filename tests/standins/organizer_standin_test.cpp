#include "platform/DdeTextBox.h"
#include "platform/RuntimeError.h"
#include "support/PrivateBus.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <functional>

namespace {

const QString kSample = QStringLiteral(PENLARK_TEST_DATA "/addresses.json");
const QString kOther = QStringLiteral(PENLARK_TEST_DATA "/other-addresses.json");

int ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class OrganizerStandinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString(); }

  QProcess* Start(const QStringList& arguments) {
    QProcess* process = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), arguments, kService);
    EXPECT_NE(process, nullptr) << bus.lastError().toStdString();
    return process;
  }

  // A conversation on the file; with byLastName, on its "Address" section by last name.
  static void Open(DdeTextBox& on, const QString& path, bool byLastName = false) {
    on.SetLinkTopic(QStringLiteral("Organize200|") + path);
    on.SetLinkMode(2);
    if (!byLastName) return;
    on.LinkExecute(QStringLiteral("[SelectSection(\"Address\")]"));
    on.LinkExecute(QStringLiteral("[SelectIndex(\"LastName\")]"));
  }

  QString Request(const QString& item) {
    box.SetLinkItem(item);
    box.LinkRequest();
    return box.Text();
  }

  const QString kService = DdeServiceName(QStringLiteral("Organize200"));
  PrivateBus bus;
  QTemporaryDir dir;
  DdeTextBox box{nullptr, bus.connection()};
};

TEST_F(OrganizerStandinTest, UnusableDataFileIsNamedAndNothingIsServed) {
  const struct {
    const char* name;
    QByteArray bytes;  // null: no such file
    QString says;
  } rows[] = {
      {"syntax.json", "{\n  \"sections\": [\n    {\"name\": \"Address\" \"records\": []}\n  ]\n}\n",
       ".json:3: not valid JSON"},
      {"missing.json", QByteArray(), ": cannot open"},
      {"field.json", R"({"sections": [{"name": "A", "records": [{"Lastname": "Lee"}]}]})", "\"Lastname\""},
      {"number.json", R"({"sections": [{"name": "A", "records": [{"Zip": 12345}]}]})", "\"Zip\""},
      {"shape.json", R"({"records": []})", ": the document is not an object"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QString path = dir.filePath(QString::fromLatin1(row.name));
    if (!row.bytes.isNull()) WriteFile(path, row.bytes);
    QString err;
    EXPECT_NE(bus.Run(QStringLiteral(PENLARK_ORGANIZER_BIN), {kSample, path}, nullptr, &err), 0);
    EXPECT_TRUE(err.contains(path + u':') && err.contains(row.says)) << err.toStdString();
  }
  EXPECT_FALSE(bus.HasName(kService));
}

// Each row executes its command (if any), then requests its item (if any).
TEST_F(OrganizerStandinTest, CommandsAreStrictAndItemsAnswerTheCurrentRecord) {
  ASSERT_NE(Start({kSample}), nullptr);
  Open(box, kSample);
  const struct {
    const char *execute, *item;
    int error;
    const char* answer;
  } rows[] = {
      {R"([SelectIndex("LastName")])", "RESULT", 0, "0"},  // no section yet
      {R"([SelectSection("address")])", "RESULT", 0, "1"},
      {R"([SelectIndex("Title")])", "RESULT", 0, "0"},
      {R"([SelectIndex("LastName")])", "RESULT", 0, "1"},
      {nullptr, "City", 0, ""},  // no current record
      {R"([Find("LEE")])", "RESULT", 0, "0"},
      {nullptr, "City", 0, "Leeds"},
      {R"([Find("<NEXT>")])", "LastName", 0, "lee"},  // index order, not file order
      {R"([Find("")])", "FirstName", 0, "Ann"},
      {R"([Find("mü")])", "Company", 0, "Übersee GmbH"},
      {R"([Find("Leeds")])", "Company", 0, ""},  // missing key: blank
      {R"([Find("<NEXT>")])", "RESULT", 0, "-1"},
      {R"([Find("Leex")])", "RESULT", 0, "-1"},
      {nullptr, "business/title", 285, nullptr},
      {R"([selectsection("Address")])", nullptr, 285, nullptr},
      {R"([SelectSection( "Address")])", nullptr, 285, nullptr},
      {R"(SelectSection("Address"))", nullptr, 285, nullptr},
      {R"([SelectSection("Address")][Find("Lee")])", nullptr, 285, nullptr},
      {R"([Find("Le"e")])", nullptr, 285, nullptr},
      {R"([Sort("LastName")])", nullptr, 285, nullptr},
      {"", nullptr, 285, nullptr},
      {R"([SelectSection("Nowhere")])", "RESULT", 0, "0"},
      {R"([Find("Lee")])", "RESULT", 0, "-1"},  // no section, no index
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.execute ? row.execute : "-") + " / " + (row.item ? row.item : "-"));
    QString answer;
    EXPECT_EQ(ErrorNumberOf([&] {
                if (row.execute) box.LinkExecute(QString::fromUtf8(row.execute));
                if (row.item) answer = Request(QString::fromUtf8(row.item));
              }),
              row.error);
    if (row.answer) { EXPECT_EQ(answer.toStdString(), row.answer); }
  }
}

TEST_F(OrganizerStandinTest, TopicIsAnyPathToAServedFile) {
  const QString served = dir.filePath(QStringLiteral("book.json"));
  ASSERT_TRUE(QFile::copy(kSample, served));
  ASSERT_TRUE(QFile::link(served, dir.filePath(QStringLiteral("link.json"))));
  ASSERT_NE(Start({kOther, QDir::current().relativeFilePath(served)}), nullptr);
  const struct {
    QString topic;
    int error;
  } rows[] = {
      {served, 0},
      {QDir::current().relativeFilePath(served), 0},
      {dir.filePath(QStringLiteral("link.json")), 0},
      {kOther, 0},
      {kSample, 282},  // same bytes, another file
      {dir.filePath(QStringLiteral("none.json")), 282},
      {QString(), 282},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.topic.toStdString());
    DdeTextBox other(nullptr, bus.connection());
    EXPECT_EQ(ErrorNumberOf([&] { Open(other, row.topic); }), row.error);
    EXPECT_EQ(other.LinkMode(), row.error ? 0 : 2);
  }
}

TEST_F(OrganizerStandinTest, FindsAmongAHundredThousandRecords) {
  QJsonArray records;
  for (int i = 99999; i >= 0; --i)
    records.append(QJsonObject{{"LastName", QStringLiteral("N%1").arg(i, 6, 10, QChar(u'0'))}});
  const QString path = dir.filePath(QStringLiteral("big.json"));
  const QJsonObject section{{"name", "Address"}, {"records", records}};
  WriteFile(path, QJsonDocument(QJsonObject{{"sections", QJsonArray{section}}}).toJson());
  ASSERT_NE(Start({path}), nullptr);
  Open(box, path, true);
  box.LinkExecute(QStringLiteral("[Find(\"n09999\")]"));
  EXPECT_EQ(Request(QStringLiteral("LastName")), QStringLiteral("N099990"));
  box.LinkExecute(QStringLiteral("[Find(\"<NEXT>\")]"));
  EXPECT_EQ(Request(QStringLiteral("LastName")), QStringLiteral("N099991"));
  EXPECT_EQ(Request(QStringLiteral("RESULT")), QStringLiteral("1"));
}

TEST_F(OrganizerStandinTest, StalledRequestTimesOutWith286AndTheServerLivesOn) {
  ASSERT_NE(Start({QStringLiteral("--stall-item"), QStringLiteral("Zip"), kSample}), nullptr);
  Open(box, kSample, true);
  box.SetLinkTimeout(60);
  box.LinkExecute(QStringLiteral("[Find(\"Lee\")]"));
  EXPECT_EQ(ErrorNumberOf([&] { Request(QStringLiteral("Zip")); }), 286);
  EXPECT_EQ(Request(QStringLiteral("City")), QStringLiteral("Leeds"));
}

TEST_F(OrganizerStandinTest, ARestartedServerIsNotThePartnerOfTheOldConversation) {
  QProcess* organizer = Start({kSample});
  ASSERT_NE(organizer, nullptr);
  Open(box, kSample);
  bus.Stop(organizer);
  ASSERT_TRUE(bus.WaitNameGone(kService));
  EXPECT_EQ(ErrorNumberOf([&] { box.LinkExecute(QStringLiteral("[Find(\"x\")]")); }), 291);
  ASSERT_NE(Start({kSample}), nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { Request(QStringLiteral("RESULT")); }), 291);
}

}  // namespace
