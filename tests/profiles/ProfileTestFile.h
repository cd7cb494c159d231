#pragma once

#include "platform/ScriptedDesktopServices.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A PENLARK.INI of its own for one test, in a folder that goes with it.
struct TempConfig {
  void Write(const QByteArray& text) const {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text);
  }
  QByteArray Bytes() const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
  }
  // The index section with these values under keys 0, 1, ...
  static QByteArray Index(const QStringList& names) {
    QByteArray text = "[Address Profiles]\n";
    for (qsizetype slot = 0; slot < names.size(); ++slot)
      text += QByteArray::number(slot) + '=' + names[slot].toUtf8() + '\n';
    return text;
  }
  static QStringList ThirtyTwoNames() {
    QStringList names;
    for (int slot = 0; slot < 32; ++slot) names << QStringLiteral("Name") + QChar(u'A' + slot);
    return names;
  }

  QTemporaryDir dir;
  QString path = dir.path() + QStringLiteral("/PENLARK.INI");
};

// Every message box shown so far, as "title|text|style".
inline QStringList Boxes(const ScriptedDesktopServices& desktop) {
  QStringList shown;
  for (const auto& box : desktop.boxes)
    shown << box.title + u'|' + box.text + u'|' + QString::number(box.style);
  return shown;
}

inline QString InvalidName(const QString& reason) {
  return QStringLiteral("Invalid Name|") + reason + QStringLiteral("\n\r\n\rPlease re-enter.|48");
}
