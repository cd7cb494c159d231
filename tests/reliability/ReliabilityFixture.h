#pragma once

#include "app/ProgramValues.h"
#include "app/frmPenlark.h"
#include "platform/Automation.h"
#include "platform/DdeTextBox.h"
#include "profilefile/ProfileFile.h"
#include "platform/ScriptedDesktopServices.h"
#include "profiles/ProfileIndex.h"
#include "support/PrivateBus.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <ostream>

// Texts in failure messages as quoted JSON strings, control characters escaped.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).toStdString();
}

// Each class of fault test reports how many cases it ran, one line that
// scripts/reliability gathers into the table of docs/reliability.md.
inline void ReportCases(const char* testClass, int cases, const char* held) {
  std::printf("RELIABILITY %s: %d cases; %s\n", testClass, cases, held);
  std::fflush(stdout);
}

inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
}

inline bool PutBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
}

// A program folder, a private bus, the scripted desktop and the main window, with the
// address book of three people and a profile "Letters" writing first name, last name,
// company and city each at its own bookmark of a one-line letter.
class ReliabilityFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
    pv.ConfigFilePath = Ini();
    NewWindow();
  }
  void TearDown() override { form.reset(); }

  // A fresh main window, as after a start of the program.
  void NewWindow() {
    form.reset();
    form = std::make_unique<frmPenlark>(pv);
  }

  QString Ini() const { return dir.filePath(QStringLiteral("PENLARK.INI")); }

  QString WriteAddressBook() {
    const QString path = dir.filePath(QStringLiteral("people.or3"));
    PutBytes(path, R"({"sections": [{"name": "Address", "records": [
      {"FirstName": "Ann", "LastName": "Lee", "Company": "Acme", "City": "Leeds"},
      {"FirstName": "Bob", "LastName": "Lees", "Company": "Bolt Ltd", "City": "York"},
      {"FirstName": "Cy", "LastName": "Moss", "Company": "Acme", "City": "Hull"}]}]})");
    return path;
  }
  QString WriteLetter() {
    const QString path = dir.filePath(QStringLiteral("letter.txt"));
    PutBytes(path, "[[B0]]|[[B1]]|[[B2]]|[[B3]]\n");
    return path;
  }
  // The letter with the first `rows` values of the addressee written.
  static QString LetterWith(const QStringList& values, int rows) {
    QStringList parts;
    for (int r = 0; r < 4; ++r) parts << (r < rows ? values[r] : QString());
    return parts.join(u'|') + u'\n';
  }

  void WriteConfiguration(const QString& dataFile) {
    std::vector<ProfileEntry> entries = {{"Options", "Organizer File Path", dataFile.toStdString()},
                                         {"Options", "Organizer Address Section", "Address"},
                                         {"Address Profiles", "0", "Letters"}};
    const char* fields[] = {"First Name", "Last Name", "Business/Company", "Business/City"};
    for (int r = 0; r < 4; ++r) {
      const std::string n = std::to_string(r);
      entries.push_back({"Profile 0", "Bookmark " + n, "B" + n});
      entries.push_back({"Profile 0", "Field " + n, fields[r]});
      entries.push_back({"Profile 0", "Separator " + n, ""});
    }
    entries.push_back({"Profile 0", "Field 4", "(-None-)"});  // the transfer ends there
    ASSERT_TRUE(WritePrivateProfileStrings(entries, Ini().toStdString()).ok);
  }

  // The window as start-up leaves it with the configuration above, attached to Word.
  void PrepareWindow(const QString& dataFile) {
    pv.OrganizerFilePath = dataFile;
    pv.AddressSectionName = QStringLiteral("Address");
    pv.OrganizerLinkOpen = false;
    FillProfileList(*form->cboAddressProfile, Ini());
    form->cboAddressProfile->setCurrentIndex(0);
    form->optSurname->setChecked(true);
    pv.WordApp = GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
    pv.WordVersion = QStringLiteral("8.0");
  }

  QProcess* StartOrganizer(const QStringList& arguments) {
    QProcess* p = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), arguments,
                            DdeServiceName(QStringLiteral("Organize200")));
    EXPECT_NE(p, nullptr) << bus.lastError().toStdString();
    return p;
  }
  QProcess* StartWord(const QStringList& arguments) {
    QProcess* p = bus.Start(QStringLiteral(PENLARK_WORD_BIN), arguments, WindowClassName(QStringLiteral("OpusApp")));
    EXPECT_NE(p, nullptr) << bus.lastError().toStdString();
    return p;
  }
  void Stop(QProcess* process, const QString& name) {
    bus.Stop(process);
    EXPECT_TRUE(bus.WaitNameGone(name));
  }
  QString LetterText() {
    QString out;
    bus.Run(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--print-text")}, &out);
    return out;
  }

  // Every message box and form shown so far: "title|text|style" or the form's name.
  QStringList Shown() const {
    QStringList shown;
    for (const auto& b : desktop.boxes) shown << b.title + u'|' + b.text + u'|' + QString::number(b.style);
    for (const QString& f : desktop.formsShown) shown << f;
    return shown;
  }

  QTemporaryDir dir;
  PrivateBus bus;
  ScriptedDesktopServices desktop;
  ProgramValues pv{desktop, bus.connection()};
  std::unique_ptr<frmPenlark> form;
};
