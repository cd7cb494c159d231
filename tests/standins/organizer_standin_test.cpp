#include "platform/DdeTextBox.h"
#include "platform/RuntimeError.h"
#include "support/PrivateBus.h"

#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QDeadlineTimer>
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

  QProcess* StartOrganizer(const QStringList& arguments) {
    QProcess* process = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), arguments, kService);
    EXPECT_NE(process, nullptr) << bus.lastError().toStdString();
    return process;
  }

  // Opens a conversation on the sample's "Address" section, by index.
  void OpenAddressSection(DdeTextBox& box, const QString& file, const QString& index) {
    Open(box, file);
    box.LinkExecute(QStringLiteral("[SelectSection(\"Address\")]"));
    box.LinkExecute(QStringLiteral("[SelectIndex(\"%1\")]").arg(index));
  }

  static void Open(DdeTextBox& box, const QString& path) {
    box.SetLinkTopic(QStringLiteral("Organize200|") + path);
    box.SetLinkMode(2);
  }

  static QString Request(DdeTextBox& box, const QString& item) {
    box.SetLinkItem(item);
    box.LinkRequest();
    return box.Text();
  }

  // "First Last, Company" of every match of the find, in order, checking that RESULT
  // counts them from 0 and ends with -1.
  static QStringList Matches(DdeTextBox& box, const QString& text) {
    QStringList found;
    box.LinkExecute(QStringLiteral("[Find(\"%1\")]").arg(text));
    while (Request(box, QStringLiteral("RESULT")) != QLatin1String("-1")) {
      EXPECT_EQ(Request(box, QStringLiteral("RESULT")), QString::number(found.size()));
      found << Request(box, QStringLiteral("FirstName")) + u' ' +
                   Request(box, QStringLiteral("LastName")) + QStringLiteral(", ") +
                   Request(box, QStringLiteral("Company"));
      box.LinkExecute(QStringLiteral("[Find(\"<NEXT>\")]"));
    }
    return found;
  }

  const QString kService = DdeServiceName(QStringLiteral("Organize200"));
  PrivateBus bus;
  QTemporaryDir dir;
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

TEST_F(OrganizerStandinTest, SecondInstanceFindsTheNameTakenAndTerminationEndsCleanly) {
  QProcess* first = StartOrganizer({kSample});
  ASSERT_NE(first, nullptr);
  QString err;
  EXPECT_NE(bus.Run(QStringLiteral(PENLARK_ORGANIZER_BIN), {kSample}, nullptr, &err), 0);
  EXPECT_TRUE(err.contains(QStringLiteral("already taken"))) << err.toStdString();
  first->terminate();
  ASSERT_TRUE(first->waitForFinished(5000));
  EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(first->exitCode(), 0);
  EXPECT_TRUE(bus.WaitNameGone(kService));
}

TEST_F(OrganizerStandinTest, CommandsAreParsedStrictly) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  DdeTextBox box(nullptr, bus.connection());
  Open(box, kSample);
  const struct {
    const char* command;
    bool accepted;
  } rows[] = {
      {R"([SelectSection("Address")])", true},
      {R"([SelectIndex("Nothing")])", true},
      {R"([Find("")])", true},
      {R"([Find("<NEXT>")])", true},
      {R"([selectsection("Address")])", false},
      {R"([SelectSection( "Address")])", false},
      {R"( [SelectSection("Address")])", false},
      {R"(SelectSection("Address"))", false},
      {R"([SelectSection('Address')])", false},
      {R"([SelectSection("Address")][Find("Lee")])", false},
      {R"([Find("Le"e")])", false},
      {R"([Find("Lee"])", false},
      {R"([Sort("LastName")])", false},
      {"", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    const int error = ErrorNumberOf([&] { box.LinkExecute(QString::fromUtf8(row.command)); });
    EXPECT_EQ(error, row.accepted ? 0 : 285);
  }
}

TEST_F(OrganizerStandinTest, TopicIsAnyPathToAServedFile) {
  const QString served = dir.filePath(QStringLiteral("book.json"));
  ASSERT_TRUE(QFile::copy(kSample, served));
  ASSERT_TRUE(QFile::link(served, dir.filePath(QStringLiteral("link.json"))));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
  ASSERT_NE(StartOrganizer({kOther, QDir::current().relativeFilePath(served)}), nullptr);
  const struct {
    QString topic;
    int error;
  } rows[] = {
      {served, 0},
      {QDir::current().relativeFilePath(served), 0},
      {dir.filePath(QStringLiteral("link.json")), 0},
      {dir.filePath(QStringLiteral("sub/../book.json")), 0},
      {kOther, 0},
      {kSample, 282},  // same bytes, another file
      {dir.filePath(QStringLiteral("none.json")), 282},
      {dir.path(), 282},
      {QString(), 282},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.topic.toStdString());
    DdeTextBox box(nullptr, bus.connection());
    EXPECT_EQ(ErrorNumberOf([&] { Open(box, row.topic); }), row.error);
    EXPECT_EQ(box.LinkMode(), row.error ? 0 : 2);
  }
}

TEST_F(OrganizerStandinTest, FindsByPrefixIgnoringCaseInIndexOrder) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  DdeTextBox box(nullptr, bus.connection());
  OpenAddressSection(box, kSample, QStringLiteral("LastName"));
  EXPECT_EQ(Matches(box, QStringLiteral("LEE")),
            QStringList({"Ann Lee, Acme Ltd", "Carol lee, Brown & Co", "Dan Lee, Acme Ltd",
                         "Bob Leeds, "}));
  EXPECT_EQ(Matches(box, QStringLiteral("")),
            QStringList({"Ann Lee, Acme Ltd", "Carol lee, Brown & Co", "Dan Lee, Acme Ltd",
                         "Bob Leeds, ", "Frank Müller, Übersee GmbH", "John Smith, Beta Works",
                         "John Smith, Alpha Mills", " Young,  Spaced Co "}));
  EXPECT_EQ(Matches(box, QStringLiteral("mü")), QStringList({"Frank Müller, Übersee GmbH"}));
  EXPECT_EQ(Matches(box, QStringLiteral("Leex")), QStringList());

  box.LinkExecute(QStringLiteral("[SelectIndex(\"Company\")]"));
  EXPECT_EQ(Matches(box, QStringLiteral("acme")),
            QStringList({"Ann Lee, Acme Ltd", "Dan Lee, Acme Ltd"}));
  // Past the last match the cursor stays past it.
  box.LinkExecute(QStringLiteral("[Find(\"<NEXT>\")]"));
  EXPECT_EQ(Request(box, QStringLiteral("RESULT")), QStringLiteral("-1"));
  EXPECT_EQ(Request(box, QStringLiteral("LastName")), QString());
}

TEST_F(OrganizerStandinTest, SectionAndIndexSelectionReportTheirResult) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  DdeTextBox box(nullptr, bus.connection());
  Open(box, kSample);
  const struct {
    const char* command;
    const char* result;
  } rows[] = {
      {R"([SelectIndex("LastName")])", "0"},  // no section yet
      {R"([SelectSection("address")])", "1"},
      {R"([SelectIndex("Title")])", "0"},
      {R"([SelectIndex("Company")])", "1"},
      {R"([SelectSection("Nowhere")])", "0"},
      {R"([SelectIndex("LastName")])", "0"},
      {R"([Find("Lee")])", "-1"},  // no index
      {R"([SelectSection("Private")])", "1"},
      {R"([SelectIndex("LastName")])", "1"},
      {R"([Find("Lee")])", "0"},
      {R"([Find("<NEXT>")])", "-1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    box.LinkExecute(QString::fromUtf8(row.command));
    EXPECT_EQ(Request(box, QStringLiteral("RESULT")), QString::fromUtf8(row.result));
  }
}

TEST_F(OrganizerStandinTest, ItemsAnswerTheCurrentRecordsFields) {
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  DdeTextBox box(nullptr, bus.connection());
  OpenAddressSection(box, kSample, QStringLiteral("LastName"));
  EXPECT_EQ(Request(box, QStringLiteral("City")), QString());  // no current record yet

  QFile sample(kSample);
  ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
  const QJsonObject ann = QJsonDocument::fromJson(sample.readAll())
                              .object()["sections"].toArray()[0].toObject()["records"]
                              .toArray()[0].toObject();
  ASSERT_EQ(ann.size(), 28);  // every field item
  box.LinkExecute(QStringLiteral("[Find(\"Lee\")]"));
  for (auto it = ann.begin(); it != ann.end(); ++it) {
    SCOPED_TRACE(it.key().toStdString());
    EXPECT_EQ(Request(box, it.key()), it.value().toString());
  }
  for (const char* unknown : {"business/title", "Title ", "Home-Email2", "", "result"}) {
    SCOPED_TRACE(unknown);
    EXPECT_EQ(ErrorNumberOf([&] { Request(box, QString::fromUtf8(unknown)); }), 285);
  }
  box.LinkExecute(QStringLiteral("[Find(\"Leeds\")]"));
  EXPECT_EQ(Request(box, QStringLiteral("Company")), QString());  // missing key: blank
  EXPECT_EQ(Request(box, QStringLiteral("City")), QStringLiteral("York"));
}

TEST_F(OrganizerStandinTest, FindsAmongAHundredThousandRecords) {
  QJsonArray records;
  for (int i = 99999; i >= 0; --i) {
    records.append(QJsonObject{{"LastName", QStringLiteral("N%1").arg(i, 6, 10, QChar(u'0'))},
                               {"FirstName", QStringLiteral("F%1").arg(i)}});
  }
  const QString path = dir.filePath(QStringLiteral("big.json"));
  const QJsonObject section{{"name", "Address"}, {"records", records}};
  WriteFile(path, QJsonDocument(QJsonObject{{"sections", QJsonArray{section}}}).toJson());
  ASSERT_NE(StartOrganizer({path}), nullptr);
  DdeTextBox box(nullptr, bus.connection());
  OpenAddressSection(box, path, QStringLiteral("LastName"));
  QStringList expected;
  for (int i = 99990; i <= 99999; ++i) expected << QStringLiteral("F%1 N0%1, ").arg(i);
  EXPECT_EQ(Matches(box, QStringLiteral("n09999")), expected);
  EXPECT_EQ(Matches(box, QStringLiteral("N000000")), QStringList({"F0 N000000, "}));
}

TEST_F(OrganizerStandinTest, StalledRequestTimesOutWith286AndTheServerLivesOn) {
  ASSERT_NE(StartOrganizer({QStringLiteral("--stall-item"), QStringLiteral("Zip"), kSample}),
            nullptr);
  DdeTextBox box(nullptr, bus.connection());
  OpenAddressSection(box, kSample, QStringLiteral("LastName"));
  box.SetLinkTimeout(60);
  box.LinkExecute(QStringLiteral("[Find(\"Lee\")]"));
  EXPECT_EQ(ErrorNumberOf([&] { Request(box, QStringLiteral("Zip")); }), 286);
  EXPECT_EQ(Request(box, QStringLiteral("City")), QStringLiteral("Leeds"));
}

TEST_F(OrganizerStandinTest, ClientErrorsOfTheLink) {
  DdeTextBox box(nullptr, bus.connection());
  EXPECT_EQ(ErrorNumberOf([&] { box.LinkExecute(QStringLiteral("[Find(\"x\")]")); }), 293);
  EXPECT_EQ(ErrorNumberOf([&] { Open(box, kSample); }), 282);  // nobody serves it
  box.SetLinkTopic(QStringLiteral("Organize200"));
  EXPECT_EQ(ErrorNumberOf([&] { box.SetLinkMode(2); }), 294);

  QProcess* organizer = StartOrganizer({kSample});
  ASSERT_NE(organizer, nullptr);
  Open(box, kSample);
  bus.Stop(organizer);
  ASSERT_TRUE(bus.WaitNameGone(kService));
  EXPECT_EQ(ErrorNumberOf([&] { box.LinkExecute(QStringLiteral("[Find(\"x\")]")); }), 291);

  // A new server under the same name is not the partner of the old conversation.
  ASSERT_NE(StartOrganizer({kSample}), nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { Request(box, QStringLiteral("RESULT")); }), 291);
}

TEST_F(OrganizerStandinTest, ConversationIsForgottenWhenItsClientLeaves) {
  QProcess* organizer = StartOrganizer({kSample});
  ASSERT_NE(organizer, nullptr);
  const QString name = QStringLiteral("organizer-standin-leaving-client");
  {
    // A bare client, so nothing sends Terminate: only the bus tells the server it left.
    QDBusConnection client = QDBusConnection::connectToBus(bus.address(), name);
    QDBusMessage initiate = QDBusMessage::createMethodCall(kService, DdeContract::ObjectPath,
                                                           DdeContract::Interface,
                                                           QStringLiteral("Initiate"));
    initiate << kSample;
    ASSERT_EQ(client.call(initiate).type(), QDBusMessage::ReplyMessage);
  }
  QDBusConnection::disconnectFromBus(name);
  QString log;
  QDeadlineTimer deadline(5000);
  while (!log.contains(QStringLiteral("conversation 1 ended (client left)")) &&
         !deadline.hasExpired()) {
    organizer->waitForReadyRead(100);
    log += QString::fromUtf8(organizer->readAllStandardError());
  }
  EXPECT_TRUE(log.contains(QStringLiteral("conversation 1 ended (client left)"))) << log.toStdString();
}

}  // namespace
