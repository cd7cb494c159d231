#include "config/ConfigFile.h"

#include "shared/ProgramValues.h"
#include "platform/ProfileFile.h"

namespace {
std::string Utf8(const QString& s) { return s.toStdString(); }
}  // namespace

QString ReadConfigString(const QString& file, const QString& section, const QString& key,
                         const QString& def) {
  return QString::fromStdString(
      GetPrivateProfileString(Utf8(section), Utf8(key), Utf8(def), Utf8(file)));
}

int ReadConfigInt(const QString& file, const QString& section, const QString& key, int def) {
  return GetPrivateProfileInt(Utf8(section), Utf8(key), def, Utf8(file));
}

QString ConfigWriteFailedText(const QString& file, const QString& reason) {
  return QStringLiteral("The configuration file %1 could not be saved.\n\r\n\r%2")
      .arg(file, reason);
}

bool WriteConfigString(ProgramValues& pv, const QString& section, const QString& key,
                       const QString& value) {
  return WriteConfigValues(pv, {{section, key, value}});
}

bool WriteConfigValues(ProgramValues& pv, const QList<ConfigValue>& values) {
  std::vector<ProfileEntry> entries;
  entries.reserve(static_cast<size_t>(values.size()));
  for (const ConfigValue& v : values) entries.push_back({Utf8(v.section), Utf8(v.key), Utf8(v.value)});
  const ProfileWriteResult result = WritePrivateProfileStrings(entries, Utf8(pv.ConfigFilePath));
  if (result.ok) return true;
  const int pointer = pv.desktop.MousePointer();
  pv.desktop.SetMousePointer(Pointer::Default);
  pv.desktop.MsgBox(ConfigWriteFailedText(pv.ConfigFilePath, QString::fromStdString(result.reason)),
                    MsgStyle::Exclamation, QStringLiteral("Penlark Error"));
  pv.desktop.SetMousePointer(pointer);
  return false;
}
