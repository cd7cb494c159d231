#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QWidget>

// Shows the window and returns its picture; with PENLARK_SCREENSHOT_DIR set, the picture
// is also left there as <objectName>.png for a person to judge.
inline QPixmap Screenshot(QWidget& window) {
  window.show();
  QApplication::processEvents();
  const QPixmap picture = window.grab();
  EXPECT_FALSE(picture.isNull());
  const QString folder = qEnvironmentVariable("PENLARK_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(picture.save(folder + QLatin1Char('/') + window.objectName() + QStringLiteral(".png")));
  }
  return picture;
}
