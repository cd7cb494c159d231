#pragma once

#include "support/ProgramFixture.h"

#include "profiles/ProfileIndex.h"

#include <QComboBox>
#include <QRadioButton>

#include <cstdio>

// Each class of fault test reports how many cases it ran, one line that
// scripts/reliability gathers into the table of docs/reliability.md.
inline void ReportCases(const char* testClass, int cases, const char* held) {
  std::printf("RELIABILITY %s: %d cases; %s\n", testClass, cases, held);
  std::fflush(stdout);
}

// The program with a profile "Letters" writing first name, last name, company and city
// each at its own bookmark of a one-line letter.
class ReliabilityFixture : public ProgramFixture {
 protected:
  QString WriteLetter() { return ProgramFixture::WriteLetter(QStringLiteral("[[B0]]|[[B1]]|[[B2]]|[[B3]]\n")); }
  // The letter with the first `rows` values of the addressee written.
  static QString LetterWith(const QStringList& values, int rows) {
    return (values.first(rows) + QStringList(4 - rows, QString())).join(u'|') + u'\n';
  }

  // The transfer ends at row 4.
  void WriteConfiguration(const QString& dataFile) {
    ProgramFixture::WriteConfiguration(dataFile, {{"B0", "First Name", ""}, {"B1", "Last Name", ""},
                                                  {"B2", "Business/Company", ""}, {"B3", "Business/City", ""},
                                                  {"", "(-None-)", ""}});
  }

  // A fresh window as start-up leaves it with the configuration above, attached to Word.
  void FreshWindow(const QString& dataFile) {
    desktop = {};
    NewWindow();
    pv.OrganizerFilePath = dataFile;
    pv.AddressSectionName = QStringLiteral("Address");
    pv.OrganizerLinkOpen = false;
    FillProfileList(*form->cboAddressProfile, Ini());
    form->cboAddressProfile->setCurrentIndex(0);
    form->optSurname->setChecked(true);
    pv.WordApp = GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
    pv.WordVersion = QStringLiteral("8.0");
  }

  // Finished: true when the transfer worked and so ended the program.
  bool Finish() {
    try {
      form->cmdFinished_Click();
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }

  // The case's end: PENLARK.INI as before it, its partners stopped.
  void EndCase(const QByteArray& ini, QProcess* word, QProcess* organizer = nullptr) {
    EXPECT_TRUE(PutBytes(Ini(), ini));
    for (auto [process, name] : {std::pair{organizer, DdeServiceName(QStringLiteral("Organize200"))},
                                 std::pair{word, WindowClassName(QStringLiteral("OpusApp"))}}) {
      if (process) bus.Stop(process);
      EXPECT_TRUE(!process || bus.WaitNameGone(name)) << name.toStdString();
    }
  }
};
