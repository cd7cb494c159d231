#include "config/ConfigFile.h"

#include "profilefile/ProfileFile.h"
#include "runtime/Files.h"
#include "shared/ProgramValues.h"

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

std::optional<QString> StoreConfigValues(const QString& file, const QList<ConfigValue>& values) {
  std::vector<ProfileEntry> entries;
  entries.reserve(static_cast<size_t>(values.size()));
  for (const ConfigValue& v : values) entries.push_back({Utf8(v.section), Utf8(v.key), Utf8(v.value)});
  MakeConfigFolder(file);  // a person's own folder is made by the first write
  const ProfileWriteResult result = WritePrivateProfileStrings(entries, Utf8(file));
  if (result.ok) return std::nullopt;
  return QString::fromStdString(result.reason);
}

void ShowConfigWriteFailed(DesktopServices& desktop, const QString& file, const QString& reason) {
  const int pointer = desktop.MousePointer();
  desktop.SetMousePointer(Pointer::Default);
  desktop.MsgBox(ConfigWriteFailedText(file, reason), MsgStyle::OkOnly + MsgStyle::Exclamation,
                 QStringLiteral("Penlark Error"));
  desktop.SetMousePointer(pointer);
}

bool WriteConfigValues(ProgramValues& pv, const QList<ConfigValue>& values) {
  const std::optional<QString> failure = StoreConfigValues(pv.ConfigFilePath, values);
  if (failure) ShowConfigWriteFailed(pv.desktop, pv.ConfigFilePath, *failure);
  return !failure;
}
