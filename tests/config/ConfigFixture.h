#pragma once

#include "support/Shown.h"

#include "shared/ProgramValues.h"
#include "config/frmOptions.h"
#include "profilefile/ProfileFile.h"
#include "scripted/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using OptionsScript = std::function<void(frmOptions&)>;

// A program folder of its own with PENLARK.INI in it, and the scripted desktop.
class ConfigFixture : public ::testing::Test {
 protected:
  void SetUp() override { pv.ConfigFilePath = dir.filePath(QStringLiteral("PENLARK.INI")); }

  void Set(const char* key, const QString& value) {
    ASSERT_TRUE(WritePrivateProfileString("Options", key, value.toStdString(), Ini()).ok);
  }
  // The three stored options as "path|section|skip", "<missing>" for each one not there.
  QString Stored() const {
    QStringList values;
    for (const char* key : {"Organizer File Path", "Organizer Address Section", "Skip Blank Fields"})
      values << QString::fromStdString(GetPrivateProfileString("Options", key, "<missing>", Ini()));
    return values.join(u'|');
  }
  std::string Ini() const { return pv.ConfigFilePath.toStdString(); }
  QString MakeFile(const QString& name) {
    EXPECT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    return dir.filePath(name);
  }
  void OnOptions(OptionsScript script) {
    desktop.OnForm(QStringLiteral("frmOptions"), [script](QDialog& f) { script(static_cast<frmOptions&>(f)); });
  }

  QTemporaryDir dir;
  ScriptedDesktopServices desktop;
  ProgramValues pv{desktop, QDBusConnection(QString())};
};
