#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QWidget>

// Shows the window and checks it can be drawn; with PENLARK_SCREENSHOT_DIR set, the picture
// is left there as <objectName>.png for a person to judge.
inline void Screenshot(QWidget& window) {
  window.show();
  QApplication::processEvents();
  const QPixmap picture = window.grab();
  EXPECT_FALSE(picture.isNull());
  if (const QString folder = qEnvironmentVariable("PENLARK_SCREENSHOT_DIR"); !folder.isEmpty()) {
    EXPECT_TRUE(picture.save(folder + QLatin1Char('/') + window.objectName() + QStringLiteral(".png")));
  }
}
