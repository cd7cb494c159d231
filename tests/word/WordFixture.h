#pragma once

#include "support/ProgramFixture.h"

#include <QComboBox>

#include <utility>

inline const QString kLetter = QStringLiteral(PENLARK_TEST_DATA "/letter.txt");

// A private bus for the stand-ins, a PENLARK.INI of the test's own, and the main window's
// profile box and DDE box.
class WordFixture : public PartnerFixture {
 protected:
  WordFixture() {
    pv.main.cboAddressProfile = cboAddressProfile = new QComboBox(&window);
    cboAddressProfile->setEditable(true);
    pv.main.txtOrganizerPipe = new DdeTextBox(&window, bus.connection());
    pv.ConfigFilePath = Ini();
  }

  // penlark-word in place of the one started before; with attach, WordApp and WordVersion
  // are set as start-up would ("word6" among the arguments: only WordBasic).
  void StartWord(const QStringList& arguments, bool attach = true) {
    if (word) { ASSERT_NO_FATAL_FAILURE(StopWord()); }
    word = bus.Start(QStringLiteral(PENLARK_WORD_BIN), arguments, WindowClassName(QStringLiteral("OpusApp")));
    ASSERT_NE(word, nullptr) << bus.lastError().toStdString();
    if (!attach) return;
    const bool basic = arguments.contains(QStringLiteral("word6"));
    pv.WordApp = basic ? CreateAutomationObject(QStringLiteral("Word.Basic"), bus.connection())
                       : GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
    pv.WordVersion = basic ? QStringLiteral("6") : QStringLiteral("8.0");
  }

  void StopWord() {
    bus.Stop(std::exchange(word, nullptr));
    ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
  }

  // Every message box shown so far, with the pointer while it was shown.
  QStringList Boxes() const { return Shown(desktop, true); }

  QWidget window;
  QComboBox* cboAddressProfile;
  QProcess* word = nullptr;
};
