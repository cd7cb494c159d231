#include "profiles/ProfileRows.h"

#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "desktop/DesktopServices.h"

namespace {
const QString kParagraph = QStringLiteral("\n\r\n\r");

QString Section(int slot) { return QStringLiteral("Profile %1").arg(slot); }
QString Key(const char* word, int row) {
  return QStringLiteral("%1 %2").arg(QLatin1String(word)).arg(row);
}
}  // namespace

ProfileRows ReadProfileRows(const QString& configFile, int slot) {
  const QString section = Section(slot);
  ProfileRows rows;
  for (int row = 0; row < kProfileRows; ++row) {
    rows[row].bookmark = ReadConfigString(configFile, section, Key("Bookmark", row));
    rows[row].separator = ReadConfigString(configFile, section, Key("Separator", row));
    rows[row].field = ReadConfigString(configFile, section, Key("Field", row));
  }
  return rows;
}

bool CheckProfileRows(DesktopServices& desktop, const ProfileRows& rows) {
  bool fieldSeen = false;
  for (int row = kProfileRows - 1; row >= 0; --row) {
    if (rows[row].field != kNoField) {
      fieldSeen = true;
      continue;
    }
    if (!fieldSeen) continue;
    const QString n = QString::number(row + 1);
    desktop.MsgBox(
        QStringLiteral("Row ") + n +
            QStringLiteral(" of the Address Profile contains no Organizer Data Field.  A (-None-) "
                           "Organizer Data Field is not permitted between two valid data fields.") +
            kParagraph + QStringLiteral("Please replace the (-None-) field at row ") + n +
            QStringLiteral(" with a valid field name."),
        MsgStyle::OkOnly + MsgStyle::Information,
        QStringLiteral("Embedded (-None-) Organizer Data Field"));
    return false;
  }
  if (fieldSeen) return true;
  desktop.MsgBox(
      QStringLiteral("No Organizer Data Fields are included in the Address Profile.") + kParagraph +
          QStringLiteral("Please add at at least one Organizer Data Field to the Address Profile."),
      MsgStyle::OkOnly + MsgStyle::Information, QStringLiteral("No Organizer Data Fields"));
  return false;
}

bool WriteProfile(ProgramValues& pv, int slot, const QString& name, const ProfileRows& rows) {
  QList<ConfigValue> values{{ConfigKeys::ProfileIndex, QString::number(slot), name}};
  const QString section = Section(slot);
  for (int row = 0; row < kProfileRows; ++row) {
    values.append({section, Key("Bookmark", row), rows[row].bookmark});
    values.append({section, Key("Field", row), rows[row].field});
    values.append({section, Key("Separator", row), rows[row].separator});
  }
  return WriteConfigValues(pv, values);
}
