#include "Shown.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

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

int RunToEnd(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
             QString* out) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  const bool ended = process.waitForFinished(120000);
  if (!ended) {
    process.kill();
    process.waitForFinished(1000);
  }
  if (out) *out = ended ? QString::fromLocal8Bit(process.readAll()) : program + QStringLiteral(" did not end: ") + process.errorString();
  return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString DesktopValue(const QString& path, const QString& key) {
  bool inEntry = false;
  for (const QString& line : QString::fromUtf8(ReadBytes(path)).split(u'\n')) {
    if (line.startsWith(u'[')) inEntry = line == QLatin1String("[Desktop Entry]");
    else if (inEntry && line.startsWith(key + u'=')) return line.mid(key.size() + 1);
  }
  return QStringLiteral("<missing>");
}
