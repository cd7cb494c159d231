#include "config/ConfigChecks.h"

#include "shared/AppMessages.h"
#include "shared/ProgramValues.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "config/frmOptions.h"
#include "runtime/Files.h"
#include "contract/ErrorNumbers.h"
#include "runtime/RuntimeError.h"

namespace {
const QString kRequiredTitle = QStringLiteral("Configuration Information Required");
constexpr int kQuestion = MsgStyle::YesNo + MsgStyle::Exclamation;  // 52

void ShowOptions(ProgramValues& pv) {
  frmOptions form(pv);
  pv.desktop.ShowModal(form);
}

bool Asks(ProgramValues& pv, const QString& text, const QString& title) {
  return pv.desktop.MsgBox(text, kQuestion, title) == MsgAnswer::Yes;
}
}  // namespace

QString CheckOrganizerFile(ProgramValues& pv) {
  QString result;
  for (;;) {
    try {
      const QString path =
          ReadConfigString(pv.ConfigFilePath, ConfigKeys::Options, ConfigKeys::OrganizerFilePath);
      if (path.isEmpty()) {
        pv.desktop.SetMousePointer(Pointer::Default);
        // The Options window leaves an accepted path in pv.OrganizerFilePath, already in
        // its short form; it is not probed here.
        if (Asks(pv,
                 QStringLiteral("No Organizer data file has been entered for Penlark to access."
                                "\n\r\n\rDo you want to enter details of your Organizer data file now?"),
                 kRequiredTitle)) {
          ShowOptions(pv);
          result = pv.OrganizerFilePath;
        }
      } else {
        ProbeFileDateTime(path);
        result = OrganizerTopic(path);
      }
      break;
    } catch (const RuntimeError& error) {
      pv.desktop.SetMousePointer(Pointer::Default);
      if (error.number() == ErrorNumber::FileNotFound || error.number() == ErrorNumber::PathNotFound) {
        if (!Asks(pv,
                  QStringLiteral("The Organizer data file referred to in the Organizer File Path "
                                 "cannot be accessed.\n\r\n\rDo you want to specify another "
                                 "Organizer data file for Penlark to use?"),
                  QStringLiteral("Organizer Data File Inaccessible"))) {
          pv.desktop.EndProgram();
        }
        ShowOptions(pv);
        continue;
      }
      ShowClosingError(pv.desktop, error.number(), error.description());
    }
  }
  pv.desktop.SetMousePointer(Pointer::Hourglass);
  return result;
}

QString CheckAddressSection(ProgramValues& pv) {
  QString section =
      ReadConfigString(pv.ConfigFilePath, ConfigKeys::Options, ConfigKeys::AddressSection);
  if (section.isEmpty()) {
    pv.desktop.SetMousePointer(Pointer::Default);
    if (Asks(pv,
             QStringLiteral("No Organizer Address section name has been entered for Penlark to "
                            "access.\n\r\n\rDo you want to enter details of your Organizer Address "
                            "section now?"),
             kRequiredTitle)) {
      ShowOptions(pv);
    }
    section =
        ReadConfigString(pv.ConfigFilePath, ConfigKeys::Options, ConfigKeys::AddressSection);
  }
  return section;
}

QString ShortPathName(const QString& path) { return GetShortPathName(path); }

QString OrganizerTopic(const QString& path) {
  return path.right(4).toUpper() == QLatin1String(".OR2") ? ShortPathName(path) : path;
}

void SaveOptions(ProgramValues& pv, const OptionsEntry& entry) {
  bool incompleteShown = false;
  auto tellIncomplete = [&] {
    if (incompleteShown) return;
    pv.desktop.MsgBox(
        QStringLiteral("Penlark will not function with a blank File Path or Address Section Name."),
        MsgStyle::OkOnly + MsgStyle::Exclamation, QStringLiteral("Incomplete Configuration"));
    incompleteShown = true;
  };

  bool saving = true;
  if (entry.filePath.isEmpty()) {
    tellIncomplete();
  } else {
    const QString topic = OrganizerTopic(entry.filePath);
    saving = WriteConfigString(pv, ConfigKeys::Options, ConfigKeys::OrganizerFilePath, entry.filePath);
    if (saving) pv.OrganizerFilePath = topic;
  }
  if (saving) {
    if (entry.addressSection.isEmpty()) {
      tellIncomplete();
    } else {
      saving = WriteConfigString(pv, ConfigKeys::Options, ConfigKeys::AddressSection, entry.addressSection);
      if (saving) pv.AddressSectionName = entry.addressSection;
    }
  }
  if (saving) {
    WriteConfigString(pv, ConfigKeys::Options, ConfigKeys::SkipBlankFields,
                      entry.skipBlankFields ? QStringLiteral("1") : QStringLiteral("0"));
  }
  pv.OrganizerLinkOpen = false;
}
