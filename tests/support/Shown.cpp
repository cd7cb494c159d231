#include "Shown.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

void PrintTo(const QString& text, std::ostream* os) {
  *os << QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).toStdString();
}

QStringList Shown(const ScriptedDesktopServices& desktop, bool withPointer, bool withForms) {
  QStringList shown;
  for (const auto& box : desktop.boxes) {
    QString line = box.title + u'|' + box.text + u'|' + QString::number(box.style);
    if (withPointer) line += u'|' + QString::number(box.pointer);
    shown << line;
  }
  if (withForms)
    for (const QString& form : desktop.formsShown) shown << form;
  return shown;
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
}

bool PutBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() &&
         f.flush();
}
