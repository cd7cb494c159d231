#pragma once

#include "app/ProgramValues.h"
#include "platform/ProfileFile.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

// A program folder of its own with PENLARK.INI in it, and the scripted desktop.
class ConfigFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    pv.ConfigFilePath = dir.filePath(QStringLiteral("PENLARK.INI"));
  }

  void Set(const char* key, const QString& value) {
    ASSERT_TRUE(WritePrivateProfileString("Options", key, value.toStdString(),
                                          pv.ConfigFilePath.toStdString())
                    .ok);
  }
  QString Get(const char* key) const {
    return QString::fromStdString(
        GetPrivateProfileString("Options", key, "<missing>", pv.ConfigFilePath.toStdString()));
  }
  QByteArray IniBytes() const {
    QFile f(pv.ConfigFilePath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
  }
  // A file that exists, in the program folder.
  QString MakeFile(const QString& name) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    return path;
  }

  // The Options window as a script sees it: controls found by their names.
  static void Type(QDialog& form, const char* box, const QString& text) {
    QLineEdit* edit = form.findChild<QLineEdit*>(QString::fromLatin1(box));
    ASSERT_NE(edit, nullptr) << box;
    edit->setText(text);
  }
  static QCheckBox* SkipBox(QDialog& form) {
    return form.findChild<QCheckBox*>(QStringLiteral("chkSkipBlankFields"));
  }
  static void Press(QDialog& form, const char* button) {
    QPushButton* b = form.findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    b->click();
  }
  // The next showing of the Options window fills in the two boxes and presses OK.
  void OptionsSaves(const QString& path, const QString& section) {
    desktop.OnForm(QStringLiteral("frmOptions"), [path, section](QDialog& form) {
      Type(form, "txtFilePath", path);
      Type(form, "txtAddressSection", section);
      Press(form, "cmdOK");
    });
  }

  QTemporaryDir dir;
  ScriptedDesktopServices desktop;
  ProgramValues pv{desktop, QDBusConnection(QString())};
};
