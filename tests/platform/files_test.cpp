#include "platform/Files.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(Path("ADDRESS.OR2"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("data");
    file.close();
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("sub")));
  }
  QString Path(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

  QTemporaryDir dir_;
};

// The error number the probe throws, 0 when it does not.
int ProbeError(const QString& path) {
  try {
    ProbeFileDateTime(path);
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

TEST_F(FilesTest, ProbeTellsMissingFileFromMissingFolder) {
  struct Row {
    QString path;
    int error;
  } rows[] = {
      {Path("ADDRESS.OR2"), 0},
      {Path("sub/../ADDRESS.OR2"), 0},
      {Path("MISSING.OR2"), 53},
      {Path("sub/MISSING.OR2"), 53},
      {Path("nofolder/ADDRESS.OR2"), 76},
      {Path("no/such/folder/ADDRESS.OR2"), 76},
      {Path("ADDRESS.OR2/inner.or2"), 76},  // a part of the path is a file
      {Path("sub"), 75},
      {QString(), 75},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path.toStdString());
    EXPECT_EQ(ProbeError(row.path), row.error);
  }
}

TEST_F(FilesTest, ProbeErrorsCarryTheirStandardTexts) {
  try {
    ProbeFileDateTime(Path("MISSING.OR2"));
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.description(), QStringLiteral("File not found"));
  }
}

TEST_F(FilesTest, ShortPathOfAnExistingFileIsThePathItself) {
  struct Row {
    QString path;
    QString expected;
  } rows[] = {
      {Path("ADDRESS.OR2"), Path("ADDRESS.OR2")},
      {Path("sub/../ADDRESS.OR2"), Path("sub/../ADDRESS.OR2")},
      {Path("MISSING.OR2"), QString()},
      {Path("nofolder/ADDRESS.OR2"), QString()},
      {QString(), QString()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path.toStdString());
    EXPECT_EQ(GetShortPathName(row.path), row.expected);
  }
}

}  // namespace
