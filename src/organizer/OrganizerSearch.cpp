#include "organizer/OrganizerSearch.h"

#include "shared/AppMessages.h"
#include "shared/ProgramValues.h"
#include "organizer/OrganizerLink.h"
#include "organizer/TrapMessage.h"
#include "bus/DdeTextBox.h"
#include "contract/ErrorNumbers.h"
#include "runtime/RuntimeError.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace {
constexpr int kMostEntries = 10;
}  // namespace

QString SelectIndexCommand(bool bySurname) {
  return bySurname ? QStringLiteral("[SelectIndex(\"LastName\")]")
                   : QStringLiteral("[SelectIndex(\"Company\")]");
}

QString FindCommand(const QString& text) {
  return QStringLiteral("[Find(\"") + text + QStringLiteral("\")]");
}

QString FindNextCommand() { return FindCommand(QStringLiteral("<NEXT>")); }

QString RequestItem(DdeTextBox& pipe, const QString& item) {
  pipe.SetLinkItem(item);
  pipe.LinkRequest();
  return pipe.Text();
}

long long RequestResult(DdeTextBox& pipe) {
  static const QRegularExpression decimal(QStringLiteral(R"(\A\s*[+-]?[0-9]+\s*\z)"));
  const QString text = RequestItem(pipe, QStringLiteral("RESULT"));
  bool ok = false;
  const long long value = decimal.match(text).hasMatch() ? text.trimmed().toLongLong(&ok) : 0;
  if (!ok) throw RuntimeError(ErrorNumber::DdeWrongFormat);
  return value;
}

void SelectIndex(DdeTextBox& pipe, bool bySurname) { pipe.LinkExecute(SelectIndexCommand(bySurname)); }

bool FindFirst(DdeTextBox& pipe, const QString& text) {
  pipe.LinkExecute(FindCommand(text));
  return RequestResult(pipe) != kNoMatch;
}

bool FindNext(DdeTextBox& pipe) {
  pipe.LinkExecute(FindNextCommand());
  return RequestResult(pipe) != kNoMatch;
}

bool FindMatchAgain(DdeTextBox& pipe, const QString& text, bool bySurname, int position) {
  SelectIndex(pipe, bySurname);
  if (!FindFirst(pipe, text)) return false;
  for (int step = 0; step < position; ++step)
    if (!FindNext(pipe)) return false;
  return true;
}

bool CheckCommandArgument(DesktopServices& desktop, const QString& text, const QString& what) {
  if (!text.contains(u'"')) return true;
  desktop.MsgBox(QStringLiteral("The ") + what +
                     QStringLiteral(" may not contain a double quote (\").\n\r\n\r"
                                    "Please remove the double quote and try again."),
                 MsgStyle::OkOnly + MsgStyle::Exclamation, QStringLiteral("Penlark Error"));
  return false;
}

namespace {

// Steps from the link to the remembered search; false when nothing was listed (the user
// has been told why). listing turns true once the earlier list has been cleared.
bool ListMatches(ProgramValues& pv, bool& listing) {
  MainWindowControls& m = pv.main;
  // A conversation whose address book has been replaced on the bus cannot be used again.
  if (pv.OrganizerLinkOpen && m.txtOrganizerPipe->ServerReplaced()) pv.OrganizerLinkOpen = false;
  if (!pv.OrganizerLinkOpen && !SetupOrganizerLink(pv)) return false;

  DdeTextBox& pipe = *m.txtOrganizerPipe;
  SelectIndex(pipe, m.optSurname->isChecked());
  if (RequestResult(pipe) == 0) {
    ShowAppError(pv.desktop, AppMessageNumber::NoSearchIndex);
    return false;
  }

  if (!FindFirst(pipe, m.txtSearchItem->text())) {
    pv.desktop.MsgBox(QStringLiteral("The Name entered in the 'Search For' box has not been "
                                     "found in the Organizer file."),
                      MsgStyle::OkOnly + MsgStyle::Question, QStringLiteral("Name not found"));
    m.txtSearchItem->setFocus();
    m.txtSearchItem->setSelection(0, static_cast<int>(m.txtSearchItem->text().size()));
    return false;
  }

  m.lstAddressee->setEnabled(true);
  m.cmdFinished->setEnabled(true);
  m.cmdMore->setEnabled(true);
  m.lstAddressee->clear();
  listing = true;
  for (int position = 0; position < kMostEntries; ++position) {
    const QString first = RequestItem(pipe, QStringLiteral("FirstName"));
    const QString last = RequestItem(pipe, QStringLiteral("LastName"));
    const QString company = RequestItem(pipe, QStringLiteral("Company"));
    m.lstAddressee->insertItem(position, first + u' ' + last + QStringLiteral(", ") + company);
    // Also after the tenth entry: the transfers repeat exactly these steps.
    if (!FindNext(pipe)) break;
  }
  pv.LastSearchText = m.txtSearchItem->text();
  pv.LastSearchBySurname = m.optSurname->isChecked();
  return true;
}

}  // namespace

bool SearchOrganizer(ProgramValues& pv) {
  if (!CheckCommandArgument(pv.desktop, pv.main.txtSearchItem->text(), QStringLiteral("search text")))
    return false;
  pv.desktop.SetMousePointer(Pointer::Hourglass);
  bool listed = false;
  bool listing = false;
  try {
    listed = ListMatches(pv, listing);
  } catch (const RuntimeError& error) {
    ShowTrapError(pv.desktop, QStringLiteral("SearchOrganizer."), error);
    ForgetLostLink(pv, error);
    // DEVIATION: an error inside the listing loop would leave the entries listed so far
    // on screen with Finished and More enabled, while the remembered search is still the
    // one before: Finished would then write the n-th match of that earlier search, a
    // different person from the one shown, and report success. The half-made list is
    // cleared and the three controls disabled, so nothing can be transferred until a
    // search has listed in full; the remembered search, no longer reachable, is kept.
    if (listing) {
      pv.main.lstAddressee->clear();
      for (QWidget* control : {static_cast<QWidget*>(pv.main.lstAddressee),
                               static_cast<QWidget*>(pv.main.cmdFinished),
                               static_cast<QWidget*>(pv.main.cmdMore)})
        control->setEnabled(false);
    }
  }
  pv.desktop.SetMousePointer(Pointer::Default);
  if (listed) pv.main.lstAddressee->setCurrentRow(0);
  return listed;
}
