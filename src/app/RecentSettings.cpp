#include "app/RecentSettings.h"

#include "app/ProgramValues.h"
#include "config/ConfigFile.h"

#include <QComboBox>
#include <QRadioButton>

void SaveRecentSettings(ProgramValues& pv) {
  const QString section = QStringLiteral("Recent Settings");
  const QString searchBy =
      pv.main.optSurname->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
  if (WriteConfigString(pv, section, QStringLiteral("Search By"), searchBy)) {
    WriteConfigString(pv, section, QStringLiteral("Address Profile"),
                      pv.main.cboAddressProfile->currentText());
  }
  pv.WordApp = AutomationObject();
  pv.desktop.EndProgram();
}
