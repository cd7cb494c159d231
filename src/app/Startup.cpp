#include "app/Startup.h"

#include "shared/AppMessages.h"
#include "shared/ProgramValues.h"
#include "app/frmPenlark.h"
#include "config/ConfigChecks.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "runtime/Files.h"
#include "runtime/RuntimeError.h"
#include "profiles/ProfileIndex.h"
#include "profiles/frmProfiles.h"
#include "word/WordConnect.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>

namespace {

void RunPhase1(ProgramValues& pv, frmPenlark& form, const QString& programDir) {
  form.setWindowTitle(QStringLiteral("Penlark"));
  form.show();
  form.Form_Activate();  // the first showing activates the window, before the path is known
  QApplication::processEvents();
  pv.desktop.SetMousePointer(Pointer::Hourglass);

  pv.ConfigFilePath = ConfigFileLocation(programDir);
  pv.OrganizerFilePath = CheckOrganizerFile(pv);
  pv.AddressSectionName = CheckAddressSection(pv);

  FillProfileList(*form.cboAddressProfile, pv.ConfigFilePath);
  if (form.cboAddressProfile->count() == 0) {
    pv.desktop.SetMousePointer(Pointer::Default);
    const int answer = pv.desktop.MsgBox(
        QStringLiteral("No Address Profiles have been setup.  Do you want to create a Address "
                       "Profile now?"),
        MsgStyle::YesNo + MsgStyle::Question, QStringLiteral("No Address Profiles"));
    if (answer == MsgAnswer::Yes) {
      frmProfiles editor(pv);
      pv.desktop.ShowModal(editor);
    }
  } else {
    form.cboAddressProfile->setCurrentIndex(0);
  }

  const QString& section = ConfigKeys::RecentSettings;
  const QString recentProfile =
      ReadConfigString(pv.ConfigFilePath, section, ConfigKeys::RecentProfile);
  if (!recentProfile.isEmpty()) form.cboAddressProfile->setEditText(recentProfile);

  const QString searchBy = ReadConfigString(pv.ConfigFilePath, section, ConfigKeys::RecentSearchBy);
  const bool bySurname = searchBy.left(3) == QStringLiteral("Tru");
  form.optSurname->setChecked(bySurname);
  form.optCompany->setChecked(!bySurname);

  pv.OrganizerLinkOpen = false;
}

}  // namespace

void RunStartup(ProgramValues& pv, frmPenlark& form, const QString& programDir) {
  try {
    RunPhase1(pv, form, programDir);
  } catch (const RuntimeError& e) {
    ShowClosingError(pv.desktop, e.number(), e.description());
  }

  ConnectToWord(pv);
  form.ApplySearchRule();
  pv.desktop.SetMousePointer(Pointer::Default);
}
