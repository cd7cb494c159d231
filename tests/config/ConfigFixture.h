#pragma once

#include "app/ProgramValues.h"
#include "config/frmOptions.h"
#include "platform/ProfileFile.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <functional>

struct Shown {
  QString title, text;
  int style;
};

// A program folder of its own with PENLARK.INI in it, and the scripted desktop.
class ConfigFixture : public ::testing::Test {
 protected:
  void SetUp() override { pv.ConfigFilePath = dir.filePath(QStringLiteral("PENLARK.INI")); }

  void Set(const char* key, const QString& value) {
    ASSERT_TRUE(WritePrivateProfileString("Options", key, value.toStdString(),
                                          pv.ConfigFilePath.toStdString()).ok);
  }
  QString Get(const char* key) const {
    return QString::fromStdString(
        GetPrivateProfileString("Options", key, "<missing>", pv.ConfigFilePath.toStdString()));
  }
  QString MakeFile(const QString& name) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    return f.fileName();
  }
  // Every box shown so far, each with the normal pointer.
  void ExpectBoxes(const std::vector<Shown>& expected) const {
    ASSERT_EQ(desktop.boxes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(desktop.boxes[i].title, expected[i].title);
      EXPECT_EQ(desktop.boxes[i].text.toStdString(), expected[i].text.toStdString());
      EXPECT_EQ(desktop.boxes[i].style, expected[i].style);
      EXPECT_EQ(desktop.boxes[i].pointer, Pointer::Default);
    }
  }

  // The next showing of the Options window runs the script.
  void OnOptions(std::function<void(frmOptions&)> script) {
    desktop.OnForm(QStringLiteral("frmOptions"),
                   [script](QDialog& form) { script(static_cast<frmOptions&>(form)); });
  }
  // A script that fills in the two boxes and presses OK.
  static std::function<void(frmOptions&)> OptionsSaves(const QString& path, const QString& section) {
    return [path, section](frmOptions& form) {
      form.txtFilePath->setText(path);
      form.txtAddressSection->setText(section);
      form.cmdOK->click();
    };
  }

  QTemporaryDir dir;
  ScriptedDesktopServices desktop;
  ProgramValues pv{desktop, QDBusConnection(QString())};
};
