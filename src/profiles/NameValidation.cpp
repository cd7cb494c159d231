#include "profiles/NameValidation.h"

#include "desktop/DesktopServices.h"
#include "profiles/ProfileIndex.h"

#include <QList>

namespace {
constexpr qsizetype kMaxNameLength = 32;

bool IsAsciiLetter(char32_t c) { return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'); }

// The reason the name fails, or an empty string when it passes.
QString FindNameFault(const QString& name, bool allowBlanks, bool allowEmpty) {
  const QList<uint> codes = name.toUcs4();
  if (!allowEmpty && codes.isEmpty()) return QStringLiteral("The Address Profile Name cannot be blank");
  if (codes.size() > kMaxNameLength)
    return QStringLiteral("The name entered must not exceed 32 characters.");
  const QString noSpaces = QStringLiteral(
      "The name entered may only use characters \"A-Z\"; \"a-z\" and may not include spaces.");
  for (const uint code : codes) {
    if (code == U' ') {
      if (allowBlanks) continue;
      return noSpaces;
    }
    if (IsAsciiLetter(code)) continue;
    return allowBlanks
               ? QStringLiteral("The name entered may only use characters \"A-Z\" and \"a-z\".")
               : noSpaces;
  }
  return QString();
}
}  // namespace

bool ValidateProfileName(DesktopServices& desktop, const QString& name, bool allowBlanks,
                         bool allowEmpty) {
  const QString fault = FindNameFault(name, allowBlanks, allowEmpty);
  if (fault.isEmpty()) return true;
  desktop.MsgBox(fault + QStringLiteral("\n\r\n\rPlease re-enter."),
                 MsgStyle::OkOnly + MsgStyle::Exclamation, QStringLiteral("Invalid Name"));
  return false;
}

bool CheckNewProfileName(DesktopServices& desktop, const QString& configFile, const QString& name) {
  if (FindProfileIndex(configFile, name) != kNoProfileSlot) {
    desktop.MsgBox(name + QStringLiteral(" is the name of an existing Address Profile.") +
                       QStringLiteral("\r\nPlease re-enter"),
                   MsgStyle::OkOnly + MsgStyle::Exclamation,
                   QStringLiteral("Duplicate Address Profile Name"));
    return false;
  }
  return ValidateProfileName(desktop, name, true, false);
}
