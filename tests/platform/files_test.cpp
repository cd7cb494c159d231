#include "runtime/Files.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(FilesTest, ProbeTellsMissingFileFromMissingFolderAndShortPathNeedsTheFile) {
  QTemporaryDir dir;
  QFile file(dir.filePath(QStringLiteral("ADDRESS.OR2")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && QDir(dir.path()).mkdir(QStringLiteral("sub")));
  ASSERT_TRUE(QFile::link(dir.filePath("loop"), dir.filePath("loop")));
  const std::pair<const char*, int> rows[] = {
      {"ADDRESS.OR2", 0}, {"sub/../ADDRESS.OR2", 0}, {"sub/MISSING.OR2", 53}, {"no/such/ADDRESS.OR2", 76},
      {"ADDRESS.OR2/inner.or2", 76}, {"loop", 76}, {"sub", 0}, {nullptr, 75}};  // nothing: an empty path
  for (auto [name, error] : rows) {
    SCOPED_TRACE(name ? name : "(empty)");
    const QString path = name ? dir.filePath(QString::fromLatin1(name)) : QString();
    int thrown = 0;
    try {
      ProbeFileDateTime(path);
    } catch (const RuntimeError& e) {
      thrown = e.number();
    }
    EXPECT_EQ(thrown, error);
    EXPECT_EQ(GetShortPathName(path), error == 0 || (error == 75 && name) ? path : QString());
  }
}

}  // namespace
