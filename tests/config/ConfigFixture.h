#pragma once

#include "support/ProgramFixture.h"

#include "config/frmOptions.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

using OptionsScript = std::function<void(frmOptions&)>;

// The stored options, files to point them at, and the Options window scripted.
class ConfigFixture : public PartnerFixture {
 protected:
  // The three stored options as "path|section|skip", "<missing>" for each one not there.
  QString Stored() const {
    QStringList values;
    for (const char* key : {"Organizer File Path", "Organizer Address Section", "Skip Blank Fields"})
      values << QString::fromStdString(Get("Options", key));
    return values.join(u'|');
  }
  QString MakeFile(const QString& name) {
    EXPECT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    return dir.filePath(name);
  }
  void OnOptions(OptionsScript script) {
    desktop.OnForm(QStringLiteral("frmOptions"), [script](QDialog& f) { script(static_cast<frmOptions&>(f)); });
  }
};
