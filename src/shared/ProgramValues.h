#pragma once

#include "bus/Automation.h"
#include "desktop/DesktopServices.h"

#include <QDBusConnection>
#include <QString>

class DdeTextBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// The main window's controls that other procedures are defined to reach: the search
// fills the list and enables the transfer buttons, the transfers read the profile box,
// and every address-book request goes through the hidden DDE box. The main window
// fills this in when it is built; procedure tests may point it at controls of their own.
struct MainWindowControls {
  QRadioButton* optSurname = nullptr;
  QRadioButton* optCompany = nullptr;
  QLineEdit* txtSearchItem = nullptr;
  QListWidget* lstAddressee = nullptr;
  QPushButton* cmdSearch = nullptr;
  QPushButton* cmdFinished = nullptr;
  QPushButton* cmdMore = nullptr;
  QComboBox* cboAddressProfile = nullptr;
  DdeTextBox* txtOrganizerPipe = nullptr;
};

// The program-wide values: one instance for the whole run, filled by start-up; each test
// makes a fresh one. Everything the procedures share lives here, nothing in globals.
struct ProgramValues {
  explicit ProgramValues(DesktopServices& desktopServices,
                         QDBusConnection sessionBus = QDBusConnection::sessionBus())
      : desktop(desktopServices), bus(std::move(sessionBus)) {}

  DesktopServices& desktop;
  QDBusConnection bus;

  QString ConfigFilePath;      // from ConfigFileLocation: beside the program, or the person's own
  QString OrganizerFilePath;   // DDE topic: the data file (short form for .OR2); "" when none
  QString AddressSectionName;  // "" when none
  bool OrganizerLinkOpen = false;
  AutomationObject WordApp;    // nothing until start-up attaches
  QString WordVersion;         // exactly "6": WordBasic; anything else: the Word 97 object model
  QString LastSearchText;      // of the last search that listed an addressee
  bool LastSearchBySurname = false;

  MainWindowControls main;
};
