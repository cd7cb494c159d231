#pragma once

#include "ChildProcesses.h"

#include <gtest/gtest.h>

#include <QProcess>

// Starts penlark to the point where a person could search (PENLARK_EXIT_WHEN_READY): no
// start-up box may wait, and it ends with 0 saying so.
inline void ExpectStartsReady(const QString& penlark, QProcessEnvironment environment) {
  QProcess process;
  environment.insert(QStringLiteral("PENLARK_EXIT_WHEN_READY"), QStringLiteral("1"));
  process.setProcessEnvironment(environment);
  EndWithTest(process);
  process.start(penlark, {});
  const bool ended = process.waitForFinished(30000);
  if (!ended) process.kill();
  ASSERT_TRUE(ended) << "a start-up box is waiting: " << process.readAllStandardError().toStdString();
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_EQ(process.readAllStandardOutput(), QByteArray("penlark: ready\n"));
}
