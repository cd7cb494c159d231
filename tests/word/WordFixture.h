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

// Texts in failure messages as text, control characters escaped.
inline void PrintTo(const QString& text, std::ostream* os) {
  QString s = text;
  s.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
  s.replace(u'\r', QStringLiteral("\\r")).replace(u'\t', QStringLiteral("\\t"));
  *os << '"' << s.toStdString() << '"';
}

inline const QString kLetter = QStringLiteral(PENLARK_TEST_DATA "/letter.txt");

// A private bus for the stand-ins, a PENLARK.INI of the test's own, and the main window's
// profile box and DDE box.
class WordFixture : public ::testing::Test {
 protected:
  WordFixture() : pv(desktop, bus.connection()) {
    pv.main.cboAddressProfile = cboAddressProfile = new QComboBox(&window);
    cboAddressProfile->setEditable(true);
    pv.main.txtOrganizerPipe = new DdeTextBox(&window, bus.connection());
    pv.ConfigFilePath = dir.filePath(QStringLiteral("PENLARK.INI"));
  }

  void SetUp() override { ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString(); }

  void Write(const QString& section, const QString& key, const QString& value) {
    const std::string ini = pv.ConfigFilePath.toStdString();
    ASSERT_TRUE(
        WritePrivateProfileString(section.toStdString(), key.toStdString(), value.toStdString(), ini).ok);
  }

  // penlark-word in place of the one started before; with attach, WordApp and WordVersion
  // are set as start-up would ("word6" among the arguments: only WordBasic).
  void StartWord(const QStringList& arguments, bool attach = true) {
    const QString opusApp = WindowClassName(QStringLiteral("OpusApp"));
    if (word) {
      bus.Stop(word);
      ASSERT_TRUE(bus.WaitNameGone(opusApp));
    }
    word = bus.Start(QStringLiteral(PENLARK_WORD_BIN), arguments, opusApp);
    ASSERT_NE(word, nullptr) << bus.lastError().toStdString();
    if (!attach) return;
    const bool basic = arguments.contains(QStringLiteral("word6"));
    pv.WordApp = basic ? CreateAutomationObject(QStringLiteral("Word.Basic"), bus.connection())
                       : GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
    pv.WordVersion = basic ? QStringLiteral("6") : QStringLiteral("8.0");
  }

  void ExpectOneBox(const QString& title, const QString& text, int style) {
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, title);
    EXPECT_EQ(desktop.boxes[0].text, text);
    EXPECT_EQ(desktop.boxes[0].style, style);
    EXPECT_EQ(desktop.boxes[0].pointer, Pointer::Default);
  }

  QTemporaryDir dir;
  PrivateBus bus;
  ScriptedDesktopServices desktop;
  ProgramValues pv;
  QWidget window;
  QComboBox* cboAddressProfile;
  QProcess* word = nullptr;
};
