#include "OfficeSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <optional>

namespace {

const QString kItemPath = QStringLiteral("/org.openoffice.Setup/Office");
const QString kSetting = QStringLiteral("ooSetupConnectionURL");

// The office writes each setting as one line, which is the form added and removed here.
QString ItemLine(const QString& accept) {
  return QStringLiteral("<item oor:path=\"%1\"><prop oor:name=\"%2\" oor:op=\"fuse\"><value>%3</value></prop></item>")
      .arg(kItemPath, kSetting, accept.toHtmlEscaped());
}

bool IsItemLine(const QString& line) {
  return line.trimmed().startsWith(QStringLiteral("<item oor:path=\"%1\"><prop oor:name=\"%2\"").arg(kItemPath, kSetting));
}

// The setting's value in the file, if it is there (in either form the office writes an
// item in); false when the file is not well-formed.
bool ReadSetting(const QString& xml, std::optional<QString>* value) {
  QXmlStreamReader reader(xml);
  QString itemPath;
  QStringList nodes;
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement()) {
      const QString name = reader.name().toString();
      const QString oorName = reader.attributes().value(QStringLiteral("oor:name")).toString();
      if (name == QStringLiteral("item")) {
        itemPath = reader.attributes().value(QStringLiteral("oor:path")).toString();
        nodes.clear();
      } else if (name == QStringLiteral("node")) {
        nodes << oorName;
      } else if (name == QStringLiteral("prop") && oorName == kSetting &&
                 (QStringList{itemPath} + nodes).join(u'/') == kItemPath) {
        reader.readNextStartElement();  // <value>
        *value = reader.name() == QStringLiteral("value") ? reader.readElementText() : QString();
      }
    } else if (reader.isEndElement() && reader.name() == QStringLiteral("node") && !nodes.isEmpty()) {
      nodes.removeLast();
    }
  }
  return !reader.hasError();
}

}  // namespace

QString DefaultOfficeProfile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/libreoffice/4");
}

bool SetUpOfficeListening(const QString& profile, const QString& accept, bool undo, QString* said) {
  const QString path = profile + QStringLiteral("/user/registrymodifications.xcu");
  if (QFileInfo::exists(profile + QStringLiteral("/.lock"))) {
    *said = QStringLiteral("LibreOffice is running with the profile %1: close it and run this again, since it "
                           "writes its settings back when it ends (if it is not running, remove %1/.lock)")
                .arg(profile);
    return false;
  }
  QString xml;
  if (QFile file(path); file.exists()) {
    if (!file.open(QIODevice::ReadOnly)) {
      *said = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
      return false;
    }
    xml = QString::fromUtf8(file.readAll());
  } else {
    xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n</oor:items>\n");
  }
  std::optional<QString> current;
  if (!ReadSetting(xml, &current)) {
    *said = QStringLiteral("%1 is not a settings file LibreOffice wrote; it is left as it is").arg(path);
    return false;
  }
  QStringList lines = xml.split(u'\n');
  const bool ours = current == accept;
  if (undo) {
    if (!current || current->isEmpty()) {
      *said = QStringLiteral("LibreOffice is not set to listen for penlark-writer in %1; nothing to undo").arg(path);
      return true;
    }
    if (!ours) {
      *said = QStringLiteral("LibreOffice is set to listen on \"%1\" in %2, which penlark-writer did not set; it is left "
                             "as it is").arg(*current, path);
      return false;
    }
    lines.removeIf(IsItemLine);
  } else {
    if (ours) {
      *said = QStringLiteral("LibreOffice is already set to listen for penlark-writer (in %1)").arg(path);
      return true;
    }
    if (current && !current->isEmpty()) {
      *said = QStringLiteral("LibreOffice is already set to listen on \"%1\" in %2; that is left as it is (start "
                             "penlark-writer with --connect and that place, without \";urp;\")").arg(*current, path);
      return false;
    }
    lines.removeIf(IsItemLine);
    const qsizetype end = lines.lastIndexOf(QStringLiteral("</oor:items>"));
    if (end < 0) {
      *said = QStringLiteral("%1 is not a settings file LibreOffice wrote; it is left as it is").arg(path);
      return false;
    }
    lines.insert(end, ItemLine(accept));
  }
  const QString changed = lines.join(u'\n');
  // A file in a form other than the office's own lines would be left holding the old value.
  std::optional<QString> check;
  if (!ReadSetting(changed, &check) || (undo ? check.has_value() : check != accept)) {
    *said = QStringLiteral("%1 could not be changed safely; it is left as it is").arg(path);
    return false;
  }
  QDir().mkpath(QFileInfo(path).path());
  QSaveFile file(path);
  const QByteArray bytes = changed.toUtf8();
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    *said = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
  }
  *said = undo ? QStringLiteral("LibreOffice no longer listens for penlark-writer from its next start (%1)").arg(path)
               : QStringLiteral("LibreOffice listens for penlark-writer from its next start (%1)").arg(path);
  return true;
}
