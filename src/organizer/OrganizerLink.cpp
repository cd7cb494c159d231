#include "organizer/OrganizerLink.h"

#include "shared/AppMessages.h"
#include "shared/ProgramValues.h"
#include "organizer/OrganizerSearch.h"
#include "organizer/TrapMessage.h"
#include "bus/DdeTextBox.h"
#include "contract/ErrorNumbers.h"
#include "runtime/RuntimeError.h"

namespace {
// In tenths of a second: the longest any one address-book call of the link may take.
constexpr int kLinkTimeoutTenths = 60;
}  // namespace

QString SelectSectionCommand(const QString& section) {
  return QStringLiteral("[SelectSection(\"") + section + QStringLiteral("\")]");
}

bool SetupOrganizerLink(ProgramValues& pv) {
  if (!CheckCommandArgument(pv.desktop, pv.AddressSectionName, QStringLiteral("Address Section name")))
    return false;
  try {
    const QString topic = QStringLiteral("Organize200|") + pv.OrganizerFilePath;
    const QString section = pv.AddressSectionName;
    DdeTextBox& pipe = *pv.main.txtOrganizerPipe;
    // Mode 0 first drops a conversation of an earlier set-up, so a changed topic counts.
    pipe.SetLinkMode(0);
    pipe.SetLinkTopic(topic);
    pipe.SetLinkMode(2);
    pipe.SetLinkTimeout(kLinkTimeoutTenths);
    pipe.LinkExecute(SelectSectionCommand(section));
    pv.OrganizerLinkOpen = true;
    return true;
  } catch (const RuntimeError& error) {
    if (error.number() == ErrorNumber::DdeNoResponse) {
      ShowAppError(pv.desktop, AppMessageNumber::AccessError);
    } else {
      ShowTrapError(pv.desktop, QStringLiteral("SetupOrganizerLink."), error);
    }
    return false;
  }
}

void ForgetLostLink(ProgramValues& pv, const RuntimeError& error) {
  if (error.number() == ErrorNumber::DdeServerQuit ||
      error.number() == ErrorNumber::DdeConversationClosed)
    pv.OrganizerLinkOpen = false;
}
