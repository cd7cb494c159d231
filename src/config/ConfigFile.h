#pragma once

#include <QList>
#include <QString>

#include <optional>

class DesktopServices;
struct ProgramValues;

// PENLARK.INI as the procedures use it: whole values as QString over the profile file.
// Reads never fail: a missing file, section or key gives the default.
QString ReadConfigString(const QString& file, const QString& section, const QString& key,
                         const QString& def = QString());
int ReadConfigInt(const QString& file, const QString& section, const QString& key, int def);

// Writes one value to pv.ConfigFilePath. On failure the user is told, in a message box
// titled "Penlark Error" that names the file and the reason, and false is returned; the
// file is left as it was. A caller that writes several values stops at the first
// failure, so the user is told once.
bool WriteConfigString(ProgramValues& pv, const QString& section, const QString& key,
                       const QString& value);

struct ConfigValue {
  QString section, key, value;
};

// Writes the values in order in one replacement of the file, so a crash or a failure
// leaves all of them or none; a failure is told once, as above, and gives false.
bool WriteConfigValues(ProgramValues& pv, const QList<ConfigValue>& values);

// The text of that message.
QString ConfigWriteFailedText(const QString& file, const QString& reason);

// The two halves of WriteConfigValues: the write alone, giving the reason of a failure
// (nothing on success), and the box that tells the user, under the arrow pointer.
std::optional<QString> StoreConfigValues(const QString& file, const QList<ConfigValue>& values);
void ShowConfigWriteFailed(DesktopServices& desktop, const QString& file, const QString& reason);
