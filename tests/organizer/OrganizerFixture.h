#pragma once

#include "support/ProgramFixture.h"

#include "organizer/OrganizerSearch.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

// The main window's controls the address-book procedures reach, on a window of the test's
// own, with the program-wide values pointing at them and at a private bus.
class OrganizerFixture : public PartnerFixture {
 protected:
  OrganizerFixture() {
    m.optSurname = new QRadioButton(&window);
    m.optCompany = new QRadioButton(&window);
    m.txtSearchItem = new QLineEdit(&window);
    m.lstAddressee = new QListWidget(&window);
    m.cmdFinished = new QPushButton(&window);
    m.cmdMore = new QPushButton(&window);
    m.txtOrganizerPipe = new DdeTextBox(&window, bus.connection());
    for (QWidget* c : std::initializer_list<QWidget*>{m.lstAddressee, m.cmdFinished, m.cmdMore}) c->setEnabled(false);
    pv.OrganizerFilePath = kSample;
    pv.AddressSectionName = QStringLiteral("Address");
  }

  bool Search(const QString& text, bool bySurname = true) {
    m.txtSearchItem->setText(text);
    (bySurname ? m.optSurname : m.optCompany)->setChecked(true);
    return SearchOrganizer(pv);
  }

  QStringList Entries() const {
    QStringList entries;
    for (int i = 0; i < m.lstAddressee->count(); ++i) entries << m.lstAddressee->item(i)->text();
    return entries;
  }

  const QString kSample = QStringLiteral(PENLARK_TEST_DATA "/addresses.json");
  const QString kOther = QStringLiteral(PENLARK_TEST_DATA "/other-addresses.json");

  MainWindowControls& m = pv.main;
  QWidget window;
};
