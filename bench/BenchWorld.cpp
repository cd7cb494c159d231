#include "BenchWorld.h"

#include "Benchmarks.h"
#include "EchoPeer.h"
#include "organizer/OrganizerLink.h"
#include "bus/Automation.h"
#include "bus/DdeTextBox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

BenchWorld* world = nullptr;

// Twelve rows of every shape: bookmarks and continuations, blank, paragraph and tab marks.
const char* const kRows[12][3] = {
    {"Name", "Business/Title", "_"},     {"", "First Name", "_"},       {"", "Last Name", "¶"},
    {"", "Business/Position", "¶"},      {"", "Business/Company", ""},  {"Address", "Business/Address", "¶"},
    {"", "Business/City", "_"},          {"", "Business/Zip", "¶"},     {"", "Business/Country", ""},
    {"Phone", "Business/Phone", "»"},    {"", "Business/Fax", ""},      {"Salutation", "Last Name", ""}};

QString ProfileName(int slot) {
  return QStringLiteral("Letters ") + QChar(u'A' + slot % 26) + (slot >= 26 ? QStringLiteral("x") : QString());
}

// 100 people; twelve surnames start with "Lee", so a search for it lists ten at every size.
QByteArray AddressBookJson() {
  static const char* const lees[] = {"Lee",   "Leeds", "Leeming", "Leeson", "Leek",   "Leech",
                                     "Leedham", "Leese", "Leedale", "Leeder", "Leeway", "Lees"};
  QJsonArray records;
  for (int i = 0; i < 100; ++i) {
    const QString last = i < 12 ? QString::fromLatin1(lees[i]) : QStringLiteral("Grey%1").arg(i);
    records.append(QJsonObject{{"FirstName", QStringLiteral("Ann%1").arg(i)},
                               {"LastName", last},
                               {"Company", last + QStringLiteral(" & Co")},
                               {"Title", "Ms"},
                               {"Position", "Buyer"},
                               {"Address", QStringLiteral("%1 Mill Lane").arg(i + 1)},
                               {"City", "Leeds"},
                               {"Zip", "LS1 4AB"},
                               {"Country", "England"},
                               {"Phone", "0113 496 0000"},
                               {"Fax", "0113 496 0001"}});
  }
  const QJsonObject section{{"name", "Address"}, {"records", records}};
  return QJsonDocument(QJsonObject{{"sections", QJsonArray{section}}}).toJson();
}

QByteArray IniText(const QString& addressBook, const QString& recentProfile) {
  QString text = QStringLiteral("[Options]\nOrganizer File Path=%1\nOrganizer Address Section=Address\n"
                                "Skip Blank Fields=0\n\n[Recent Settings]\nAddress Profile=%2\n"
                                "Search By=True\n\n[Address Profiles]\n")
                     .arg(addressBook, recentProfile);
  for (int slot = 0; slot < 32; ++slot) text += QStringLiteral("%1=%2\n").arg(slot).arg(ProfileName(slot));
  for (int slot = 0; slot < 32; ++slot) {
    text += QStringLiteral("\n[Profile %1]\n").arg(slot);
    for (int row = 0; row < 12; ++row) {
      text += QStringLiteral("Bookmark %1=%2\n").arg(row).arg(QString::fromUtf8(kRows[row][0]));
      text += QStringLiteral("Field %1=%2\n").arg(row).arg(QString::fromUtf8(kRows[row][1]));
      text += QStringLiteral("Separator %1=%2\n").arg(row).arg(QString::fromUtf8(kRows[row][2]));
    }
  }
  return text.toUtf8();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

BenchWorld& World() { return *world; }
void SetWorld(BenchWorld* w) { world = w; }

BenchWorld::BenchWorld() : pv(desktop, bus.connection()) {
  MainWindowControls& m = pv.main;
  m.optSurname = new QRadioButton(&window);
  m.optCompany = new QRadioButton(&window);
  m.txtSearchItem = new QLineEdit(&window);
  m.lstAddressee = new QListWidget(&window);
  m.cmdSearch = new QPushButton(&window);
  m.cmdFinished = new QPushButton(&window);
  m.cmdMore = new QPushButton(&window);
  m.cboAddressProfile = new QComboBox(&window);
  m.cboAddressProfile->setEditable(true);

  if (!bus.ok()) {
    Fail(QStringLiteral("no private bus: ") + bus.lastError());
    return;
  }
  if (!dir.isValid() || !WriteFiles()) return;
  pv.ConfigFilePath = ini;
  echo_ = StartAndWait(QCoreApplication::applicationFilePath(), {QStringLiteral("--echo")}, kEchoService);
  if (echo_ && StartOrganizer()) RestartWord();
}

BenchWorld::~BenchWorld() {
  for (auto& process : processes_) bus.Stop(process.get());
}

bool BenchWorld::Fail(const QString& why) {
  if (error_.isEmpty()) error_ = why;
  return false;
}

bool BenchWorld::WriteFiles() {
  ini = dir.filePath(QStringLiteral("PENLARK.INI"));
  program = dir.filePath(QStringLiteral("penlark"));
  addressBook = dir.filePath(QStringLiteral("people.or3"));
  letter = QStringLiteral(PENLARK_TEST_DATA "/letter.txt");
  transferProfile = ProfileName(kTransferSlot);
  // penlark looks for PENLARK.INI beside itself, so start-up runs a copy in this folder.
  if (!QFile::copy(QStringLiteral(PENLARK_BIN), program))
    return Fail(QStringLiteral("cannot copy " PENLARK_BIN));
  if (!WriteFile(addressBook, AddressBookJson()) || !WriteFile(ini, IniText(addressBook, transferProfile)))
    return Fail(QStringLiteral("cannot write the files in ") + dir.path());
  return true;
}

QProcess* BenchWorld::StartAndWait(const QString& path, const QStringList& arguments, const QString& name) {
  auto process = std::make_unique<QProcess>();
  process->setProcessEnvironment(bus.Environment());
  // A file, not a pipe: the stand-ins write a line per conversation and nobody reads them.
  const QString log = dir.filePath(QFileInfo(path).fileName() + QStringLiteral(".log"));
  process->setStandardOutputFile(log, QIODevice::Append);
  process->setStandardErrorFile(log, QIODevice::Append);
  process->start(path, arguments);
  // Generating a million records takes a while on a slow machine.
  QDeadlineTimer deadline(300000);
  while (!bus.HasName(name)) {
    if (process->state() == QProcess::NotRunning || deadline.hasExpired()) {
      process->kill();
      process->waitForFinished(1000);
      QFile output(log);
      output.open(QIODevice::ReadOnly);
      Fail(path + QStringLiteral(" did not take ") + name + QStringLiteral(": ") +
           QString::fromUtf8(output.readAll()));
      return nullptr;
    }
    process->waitForFinished(20);
  }
  processes_.push_back(std::move(process));
  return processes_.back().get();
}

QString BenchWorld::AddressBookOf(qint64 records) const {
  if (records == 100) return addressBook;
  return dir.filePath(QStringLiteral("people-%1.or3").arg(records));
}

bool BenchWorld::UseAddressBook(qint64 records) {
  auto link = links_.find(records);
  if (link == links_.end()) {
    pv.main.txtOrganizerPipe = new DdeTextBox(&window, bus.connection());
    pv.OrganizerFilePath = AddressBookOf(records);
    pv.OrganizerLinkOpen = false;
    if (!SetupOrganizerLink(pv)) return Fail(QStringLiteral("the link could not be set up: ") + desktop.boxes.back().text);
    link = links_.emplace(records, pv.main.txtOrganizerPipe).first;
  }
  pv.main.txtOrganizerPipe = link->second;
  pv.OrganizerFilePath = AddressBookOf(records);
  pv.OrganizerLinkOpen = true;
  return true;
}

// One address book program serves every size: each size is a copy of the 100 records,
// all but the first with made-up ones added.
bool BenchWorld::StartOrganizer() {
  QStringList arguments{addressBook};
  for (qint64 records : BenchNames::SearchSizes) {
    if (records == 100) continue;
    if (!QFile::copy(addressBook, AddressBookOf(records))) return Fail(QStringLiteral("cannot copy the address book"));
    arguments << QStringLiteral("--generate") << QString::number(records - 100) << AddressBookOf(records);
  }
  pv.AddressSectionName = QStringLiteral("Address");
  return StartAndWait(QStringLiteral(PENLARK_ORGANIZER_BIN), arguments, DdeServiceName(QStringLiteral("Organize200"))) &&
         UseAddressBook(100);
}

bool BenchWorld::RestartWord() {
  return StartWordProcessor(QStringLiteral(PENLARK_WORD_BIN),
                            {QStringLiteral("--dialect"), QStringLiteral("word97"), letter});
}

bool BenchWorld::StartWordProcessor(const QString& path, const QStringList& arguments) {
  if (word_) {
    bus.Stop(word_);
    word_ = nullptr;
    if (!bus.WaitNameGone(RunningObjectName(QStringLiteral("Word.Application.8"))))
      return Fail(QStringLiteral("the word processor did not go away"));
  }
  word_ = StartAndWait(path, arguments, RunningObjectName(QStringLiteral("Word.Application.8")));
  if (!word_) return false;
  pv.WordApp = GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
  pv.WordVersion = QStringLiteral("8.0");
  return true;
}

void BenchWorld::Mark(const QString& path) {
  QDBusMessage call = QDBusMessage::createMethodCall(kEchoService, path, kEchoInterface, QStringLiteral("Mark"));
  call.setAutoStartService(false);
  bus.connection().call(call, QDBus::Block, 5000);  // answered with an error: no such object
}

BenchWorld::Counts BenchWorld::CountOf(const std::function<void()>& op) {
  Counts counts{-1, -1};
  const int events = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  // Closes are watched too: the kernel folds an event into an identical one still unread,
  // and an open always follows a close.
  if (events >= 0) inotify_add_watch(events, QFile::encodeName(ini).constData(), IN_OPEN | IN_CLOSE);

  // dbus-monitor sees every call this connection sends; marks before and after op bound them.
  QProcess monitor;
  monitor.setProcessEnvironment(bus.Environment());
  monitor.start(QStringLiteral("dbus-monitor"),
                {QStringLiteral("--address"), bus.address(), QStringLiteral("--profile"),
                 QStringLiteral("type='method_call',sender='%1'").arg(bus.connection().baseService())});
  QByteArray seen;
  QDeadlineTimer deadline(10000);
  // It listens only once it has become a monitor, so marks go until one shows.
  while (monitor.waitForStarted(5000) && !seen.contains("/mark/ready") && !deadline.hasExpired()) {
    Mark(QStringLiteral("/mark/ready"));
    monitor.waitForReadyRead(100);
    seen += monitor.readAllStandardOutput();
  }
  char buffer[4096];
  while (events >= 0 && ::read(events, buffer, sizeof buffer) > 0) {}

  Mark(QStringLiteral("/mark/begin"));
  op();
  Mark(QStringLiteral("/mark/end"));

  if (events >= 0) {
    counts.fileReads = 0;
    ssize_t got;
    while ((got = ::read(events, buffer, sizeof buffer)) > 0)
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->mask & IN_OPEN) ++counts.fileReads;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    ::close(events);
  }
  while (!seen.contains("/mark/end") && !deadline.hasExpired()) {
    monitor.waitForReadyRead(100);
    seen += monitor.readAllStandardOutput();
  }
  monitor.terminate();
  if (!monitor.waitForFinished(2000)) monitor.kill();
  monitor.waitForFinished(1000);

  bool inside = false;
  int calls = 0;
  for (const QByteArray& line : seen.split('\n')) {
    if (line.contains("/mark/begin")) {
      inside = true;
      calls = 0;
    } else if (inside && line.contains("/mark/end")) {
      counts.roundTrips = calls;
      inside = false;
    } else if (inside && line.startsWith("mc\t")) {
      ++calls;
    }
  }
  return counts;
}
