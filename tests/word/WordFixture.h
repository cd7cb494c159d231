#pragma once

#include "support/ProgramFixture.h"

#include "organizer/OrganizerLink.h"

#include <QComboBox>

#include <utility>

inline const QString kLetter = QStringLiteral(PENLARK_TEST_DATA "/letter.txt");

// A private bus for the stand-ins, a PENLARK.INI of the test's own, and the main window's
// profile box and DDE box. The word processor is penlark-word; tests/writer puts
// penlark-writer in its place.
class WordFixture : public PartnerFixture {
 protected:
  WordFixture() {
    pv.main.cboAddressProfile = cboAddressProfile = new QComboBox(&window);
    cboAddressProfile->setEditable(true);
    pv.main.txtOrganizerPipe = new DdeTextBox(&window, bus.connection());
  }

  // penlark-word in place of the one started before; with attach, WordApp and WordVersion
  // are set as start-up would ("word6" among the arguments: only WordBasic).
  virtual void StartWord(const QStringList& arguments, bool attach = true) {
    if (word) {
      bus.Stop(std::exchange(word, nullptr));
      ASSERT_TRUE(bus.WaitNameGone(WindowClassName(QStringLiteral("OpusApp"))));
    }
    ASSERT_NE(word = PartnerFixture::StartWord(arguments), nullptr);
    if (!attach) return;
    const bool basic = arguments.contains(QStringLiteral("word6"));
    pv.WordApp = basic ? CreateAutomationObject(QStringLiteral("Word.Basic"), bus.connection())
                       : GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
    pv.WordVersion = basic ? QStringLiteral("6") : QStringLiteral("8.0");
  }

  // The word processor's --print-text; its exit code.
  virtual int PrintText(QString* out, QString* err = nullptr) {
    return bus.Run(QStringLiteral(PENLARK_WORD_BIN), {QStringLiteral("--print-text")}, out, err);
  }

  // penlark-organizer serving word-addresses.json, linked as the search links it.
  QProcess* StartAddressBook() {
    pv.OrganizerFilePath = QStringLiteral(PENLARK_TEST_DATA "/word-addresses.json");
    pv.AddressSectionName = QStringLiteral("Address");
    QProcess* organizer = StartOrganizer({pv.OrganizerFilePath});
    return organizer && SetupOrganizerLink(pv) ? organizer : nullptr;
  }

  // PENLARK.INI with one profile "Business Letter" of these rows.
  void WriteProfile(const Triples& rows) { WriteConfiguration(pv.OrganizerFilePath, rows, "Business Letter"); }

  // Every message box shown so far, with the pointer while it was shown.
  QStringList Boxes() const { return Shown(desktop, true); }

  QWidget window;
  QComboBox* cboAddressProfile;
  QProcess* word = nullptr;
};
