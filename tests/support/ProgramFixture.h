#pragma once

#include "Shown.h"

#include "PrivateBus.h"
#include "app/frmPenlark.h"
#include "bus/Automation.h"
#include "bus/DdeTextBox.h"
#include "profilefile/ProfileFile.h"
#include "scripted/ScriptedDesktopServices.h"
#include "shared/ProgramValues.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <array>
#include <memory>
#include <vector>

using Triples = std::vector<std::array<QString, 3>>;  // profile rows: bookmark, field, separator

// A program folder of its own, a private bus for the partner programs, and the scripted
// desktop with the program-wide values on them; PENLARK.INI in that folder is the
// configuration file.
class PartnerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString();
    pv.ConfigFilePath = Ini();
  }

  QString Ini() const { return dir.filePath(QStringLiteral("PENLARK.INI")); }
  void Set(const char* section, const char* key, const QString& value) {
    ASSERT_TRUE(WritePrivateProfileString(section, key, value.toStdString(), Ini().toStdString()).ok);
  }
  std::string Get(const char* section, const char* key) const {
    return GetPrivateProfileString(section, key, "<missing>", Ini().toStdString());
  }

  // PENLARK.INI afresh with the address book, its section "Address" and one profile of these
  // rows (bookmark, field, separator).
  void WriteConfiguration(const QString& dataFile, const Triples& rows, const std::string& profile = "Letters") {
    std::vector<ProfileEntry> entries = {{"Options", "Organizer File Path", dataFile.toStdString()},
                                         {"Options", "Organizer Address Section", "Address"},
                                         {"Address Profiles", "0", profile}};
    for (size_t r = 0; r < rows.size(); ++r) {
      const std::string n = std::to_string(r);
      entries.insert(entries.end(), {{"Profile 0", "Bookmark " + n, rows[r][0].toStdString()},
                                     {"Profile 0", "Field " + n, rows[r][1].toStdString()},
                                     {"Profile 0", "Separator " + n, rows[r][2].toStdString()}});
    }
    QFile::remove(Ini());
    ASSERT_TRUE(WritePrivateProfileStrings(entries, Ini().toStdString()).ok);
  }

  // An address book of three people (tests/data/people.json), for the stand-in.
  QString WriteAddressBook() {
    const QString path = dir.filePath(QStringLiteral("people.or3"));
    EXPECT_TRUE(PutBytes(path, ReadBytes(QStringLiteral(PENLARK_TEST_DATA "/people.json"))));
    return path;
  }
  QString WriteLetter(const QString& text) {
    const QString path = dir.filePath(QStringLiteral("letter.txt"));
    PutBytes(path, text.toUtf8());
    return path;
  }

  QProcess* StartOrganizer(const QStringList& arguments) {
    QProcess* p = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), arguments,
                            DdeServiceName(QStringLiteral("Organize200")));
    EXPECT_NE(p, nullptr) << bus.lastError().toStdString();
    return p;
  }
  // penlark-word, Word 97 unless the arguments say otherwise; its window class is the
  // last name it takes, so every object is in place once it is there.
  QProcess* StartWord(const QStringList& arguments) {
    QProcess* p = bus.Start(QStringLiteral(PENLARK_WORD_BIN), arguments,
                            WindowClassName(QStringLiteral("OpusApp")));
    EXPECT_NE(p, nullptr) << bus.lastError().toStdString();
    return p;
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
};

// The whole program in process: a fresh main window for every test.
class ProgramFixture : public PartnerFixture {
 protected:
  void SetUp() override {
    PartnerFixture::SetUp();
    NewWindow();
  }
  void TearDown() override { form.reset(); }

  // A fresh main window, as after a start of the program.
  void NewWindow() {
    form.reset();
    form = std::make_unique<frmPenlark>(pv);
  }
  // The entries of the result list.
  QStringList Listed() const {
    QStringList entries;
    for (int i = 0; i < form->lstAddressee->count(); ++i) entries << form->lstAddressee->item(i)->text();
    return entries;
  }

  std::unique_ptr<frmPenlark> form;
};
