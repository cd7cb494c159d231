#include "platform/Files.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

int ProbeError(const QString& path) {
  try {
    ProbeFileDateTime(path);
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

TEST(FilesTest, ProbeTellsMissingFileFromMissingFolderAndShortPathNeedsTheFile) {
  QTemporaryDir dir;
  QFile file(dir.filePath(QStringLiteral("ADDRESS.OR2")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
  const std::pair<const char*, int> rows[] = {
      {"ADDRESS.OR2", 0}, {"sub/../ADDRESS.OR2", 0}, {"sub/MISSING.OR2", 53},
      {"no/such/ADDRESS.OR2", 76}, {"ADDRESS.OR2/inner.or2", 76}, {"sub", 75}};
  for (auto [name, error] : rows) {
    SCOPED_TRACE(name);
    const QString path = dir.filePath(QString::fromLatin1(name));
    EXPECT_EQ(ProbeError(path), error);
    EXPECT_EQ(GetShortPathName(path), error == 0 || error == 75 ? path : QString());
  }
  EXPECT_EQ(ProbeError(QString()), 75);
  EXPECT_EQ(GetShortPathName(QString()), QString());
}

}  // namespace
