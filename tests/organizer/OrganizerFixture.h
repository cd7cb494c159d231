#pragma once

#include "app/ProgramValues.h"
#include "platform/DdeTextBox.h"
#include "platform/ScriptedDesktopServices.h"
#include "support/PrivateBus.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

// The main window's controls the address-book procedures reach, on a window of the test's
// own, with the program-wide values pointing at them and at a private bus.
class OrganizerFixture : public ::testing::Test {
 protected:
  OrganizerFixture() : pv(desktop, bus.connection()) {
    optSurname = new QRadioButton(&window);
    optCompany = new QRadioButton(&window);
    txtSearchItem = new QLineEdit(&window);
    lstAddressee = new QListWidget(&window);
    cmdFinished = new QPushButton(&window);
    cmdMore = new QPushButton(&window);
    txtOrganizerPipe = new DdeTextBox(&window, bus.connection());
    pv.main.optSurname = optSurname;
    pv.main.optCompany = optCompany;
    pv.main.txtSearchItem = txtSearchItem;
    pv.main.lstAddressee = lstAddressee;
    pv.main.cmdFinished = cmdFinished;
    pv.main.cmdMore = cmdMore;
    pv.main.txtOrganizerPipe = txtOrganizerPipe;
    optSurname->setChecked(true);
    lstAddressee->setEnabled(false);
    cmdFinished->setEnabled(false);
    cmdMore->setEnabled(false);
    pv.OrganizerFilePath = kSample;
    pv.AddressSectionName = QStringLiteral("Address");
  }

  void SetUp() override { ASSERT_TRUE(bus.ok()) << bus.lastError().toStdString(); }

  QProcess* StartOrganizer(const QStringList& arguments) {
    QProcess* process = bus.Start(QStringLiteral(PENLARK_ORGANIZER_BIN), arguments,
                                  DdeServiceName(QStringLiteral("Organize200")));
    EXPECT_NE(process, nullptr) << bus.lastError().toStdString();
    return process;
  }

  // The one message box shown so far was this one.
  void ExpectOnlyBox(const QString& title, const QString& text, int style) const {
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, title);
    EXPECT_EQ(desktop.boxes[0].text, text);
    EXPECT_EQ(desktop.boxes[0].style, style);
  }

  QStringList Entries() const {
    QStringList entries;
    for (int i = 0; i < lstAddressee->count(); ++i) entries << lstAddressee->item(i)->text();
    return entries;
  }

  const QString kSample = QStringLiteral(PENLARK_TEST_DATA "/addresses.json");
  const QString kOther = QStringLiteral(PENLARK_TEST_DATA "/other-addresses.json");

  PrivateBus bus;
  ScriptedDesktopServices desktop;
  ProgramValues pv;
  QWidget window;
  QRadioButton* optSurname;
  QRadioButton* optCompany;
  QLineEdit* txtSearchItem;
  QListWidget* lstAddressee;
  QPushButton* cmdFinished;
  QPushButton* cmdMore;
  DdeTextBox* txtOrganizerPipe;
};
