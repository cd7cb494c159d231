#pragma once

#include "app/ProgramValues.h"
#include "app/frmPenlark.h"
#include "platform/Automation.h"
#include "platform/DdeTextBox.h"
#include "profilefile/ProfileFile.h"
#include "platform/ScriptedDesktopServices.h"
#include "support/PrivateBus.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A program folder of its own, a private bus, the scripted desktop and a fresh main
// window for every test.
class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
    form = std::make_unique<frmPenlark>(pv);
  }
  void TearDown() override { form.reset(); }

  QString Ini() const { return dir.path() + QStringLiteral("/PENLARK.INI"); }
  void Set(const char* section, const char* key, const QString& value) {
    ASSERT_TRUE(WritePrivateProfileString(section, key, value.toStdString(), Ini().toStdString()).ok);
  }
  std::string Get(const char* section, const char* key) {
    return GetPrivateProfileString(section, key, "<missing>", Ini().toStdString());
  }
  // The boxes shown, each as "title|text|style".
  QStringList Boxes() const {
    QStringList shown;
    for (const auto& b : desktop.boxes) shown << b.title + u'|' + b.text + u'|' + QString::number(b.style);
    return shown;
  }
  QByteArray IniBytes() const {
    QFile f(Ini());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
  }

  // An address book with a few people, served by the stand-in.
  QString WriteAddressBook() {
    const QString path = dir.path() + QStringLiteral("/people.or3");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(R"({"sections": [{"name": "Address", "records": [
      {"FirstName": "Ann", "LastName": "Lee", "Company": "Acme", "City": "Leeds"},
      {"FirstName": "Bob", "LastName": "Lees", "Company": "Bolt Ltd", "City": "York"},
      {"FirstName": "Cy", "LastName": "Moss", "Company": "Acme", "City": "Hull"}]}]})");
    return path;
  }
  QString WriteLetter(const QString& text) {
    const QString path = dir.path() + QStringLiteral("/letter.txt");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text.toUtf8());
    return path;
  }
  // A configuration with the address book, its section and one profile "Letters"
  // (first name, last name on one line, then the city on the next).
  void WriteConfiguration(const QString& dataFile) {
    Set("Options", "Organizer File Path", dataFile);
    Set("Options", "Organizer Address Section", QStringLiteral("Address"));
    Set("Address Profiles", "0", QStringLiteral("Letters"));
    const char* rows[][3] = {{"Name", "First Name", "_"}, {"", "Last Name", ""},
                             {"Town", "Business/City", ""}, {"", "(-None-)", ""}};
    for (int r = 0; r < 4; ++r) {
      const std::string n = std::to_string(r);
      Set("Profile 0", ("Bookmark " + n).c_str(), QString::fromUtf8(rows[r][0]));
      Set("Profile 0", ("Field " + n).c_str(), QString::fromUtf8(rows[r][1]));
      Set("Profile 0", ("Separator " + n).c_str(), QString::fromUtf8(rows[r][2]));
    }
  }

  QProcess* StartOrganizer(const QString& dataFile) {
    return bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), {dataFile},
                     DdeServiceName(QStringLiteral("Organize200")));
  }
  QProcess* StartWord97(const QString& letter) {
    QStringList args{QStringLiteral("--dialect"), QStringLiteral("word97")};
    if (!letter.isEmpty()) args << letter;
    return bus.Start(QStringLiteral(PENLARK_WORD_BIN), args,
                     RunningObjectName(QStringLiteral("Word.Application.8")));
  }
  QString LetterText() {
    QString out;
    bus.Run(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--print-text")}, &out);
    return out;
  }

  QTemporaryDir dir;
  PrivateBus bus;
  ScriptedDesktopServices desktop;
  ProgramValues pv{desktop, bus.connection()};
  std::unique_ptr<frmPenlark> form;
};
