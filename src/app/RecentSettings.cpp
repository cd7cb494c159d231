#include "app/RecentSettings.h"

#include "shared/ProgramValues.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"

#include <QComboBox>
#include <QRadioButton>

void SaveRecentSettings(ProgramValues& pv) {
  const QString searchBy =
      pv.main.optSurname->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
  if (WriteConfigString(pv, ConfigKeys::RecentSettings, ConfigKeys::RecentSearchBy, searchBy)) {
    WriteConfigString(pv, ConfigKeys::RecentSettings, ConfigKeys::RecentProfile,
                      pv.main.cboAddressProfile->currentText());
  }
  pv.WordApp = AutomationObject();
  pv.desktop.EndProgram();
}
