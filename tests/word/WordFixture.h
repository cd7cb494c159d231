#pragma once

#include "app/ProgramValues.h"
#include "organizer/OrganizerLink.h"
#include "platform/Automation.h"
#include "platform/DdeTextBox.h"
#include "platform/ProfileFile.h"
#include "platform/ScriptedDesktopServices.h"
#include "support/PrivateBus.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTemporaryDir>
#include <QWidget>

#include <ostream>
#include <vector>

// Texts in failure messages as text, control characters escaped.
inline void PrintTo(const QString& text, std::ostream* os) {
  QString shown = text;
  shown.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
  shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\t', QStringLiteral("\\t"));
  *os << '"' << shown.toStdString() << '"';
}

// A private bus with the stand-in word processor (and, where asked, the address book),
// a PENLARK.INI of the test's own, and the main window's profile box and DDE box.
class WordFixture : public ::testing::Test {
 public:
  struct Row {
    QString bookmark, field, separator;
  };

 protected:
  WordFixture() : pv(desktop, bus.connection()) {
    cboAddressProfile = new QComboBox(&window);
    cboAddressProfile->setEditable(true);
    txtOrganizerPipe = new DdeTextBox(&window, bus.connection());
    pv.main.cboAddressProfile = cboAddressProfile;
    pv.main.txtOrganizerPipe = txtOrganizerPipe;
    pv.ConfigFilePath = dir.filePath(QStringLiteral("PENLARK.INI"));
  }

  void SetUp() override { ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString(); }

  void Write(const QString& section, const QString& key, const QString& value) {
    ASSERT_TRUE(WritePrivateProfileString(section.toStdString(), key.toStdString(),
                                          value.toStdString(), pv.ConfigFilePath.toStdString())
                    .ok);
  }

  // The profile in slot 0, chosen in the profile box; rows past the given ones are left out.
  void WriteProfile(const QString& name, const std::vector<Row>& rows) {
    Write(QStringLiteral("Address Profiles"), QStringLiteral("0"), name);
    for (size_t r = 0; r < rows.size(); ++r) {
      const QString n = QString::number(r);
      Write(QStringLiteral("Profile 0"), QStringLiteral("Bookmark ") + n, rows[r].bookmark);
      Write(QStringLiteral("Profile 0"), QStringLiteral("Field ") + n, rows[r].field);
      Write(QStringLiteral("Profile 0"), QStringLiteral("Separator ") + n, rows[r].separator);
    }
    cboAddressProfile->setEditText(name);
  }

  // penlark-word with these arguments; WordApp attached as start-up would.
  QProcess* StartWord(const QStringList& arguments, bool wordBasic = false) {
    QProcess* word = bus.Start(QStringLiteral(PENLARK_WORD_BIN), arguments,
                               WindowClassName(QStringLiteral("OpusApp")));
    EXPECT_NE(word, nullptr) << bus.lastError().toStdString();
    if (word) {
      pv.WordApp = wordBasic ? CreateAutomationObject(QStringLiteral("Word.Basic"), bus.connection())
                             : GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
      pv.WordVersion = wordBasic ? QStringLiteral("6") : QStringLiteral("8.0");
    }
    return word;
  }

  // The address book with the two Lees, its link open as the search leaves it.
  void StartOrganizer() {
    const QString data = QStringLiteral(PENLARK_TEST_DATA "/word-addresses.json");
    organizer = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), {data},
                          DdeServiceName(QStringLiteral("Organize200")));
    ASSERT_NE(organizer, nullptr) << bus.lastError().toStdString();
    pv.OrganizerFilePath = data;
    pv.AddressSectionName = QStringLiteral("Address");
    ASSERT_TRUE(SetupOrganizerLink(pv));
  }

  QString DocumentText() {
    QString out;
    EXPECT_EQ(bus.Run(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--print-text")}, &out), 0);
    return out;
  }

  static QString Letter(const QString& name = QStringLiteral("letter.txt")) {
    return QStringLiteral(PENLARK_TEST_DATA "/") + name;
  }

  QTemporaryDir dir;
  PrivateBus bus;
  ScriptedDesktopServices desktop;
  ProgramValues pv;
  QWidget window;
  QComboBox* cboAddressProfile;
  DdeTextBox* txtOrganizerPipe;
  QProcess* organizer = nullptr;
};
