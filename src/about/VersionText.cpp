#include "about/VersionText.h"

QString VersionText(int major, int minor, int revision) {
  return QString::number(major) + QLatin1Char('.') + QString::number(minor) + QLatin1Char('.') +
         QString::number(revision);
}

QString ProgramVersionText() {
  return VersionText(PENLARK_VERSION_MAJOR, PENLARK_VERSION_MINOR, PENLARK_VERSION_PATCH);
}
