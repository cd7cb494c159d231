#include "runtime/Files.h"

#include "contract/ErrorNumbers.h"
#include "runtime/RuntimeError.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

QByteArray FolderOf(const QByteArray& path) {
  QByteArray trimmed = path;
  while (trimmed.size() > 1 && trimmed.endsWith('/')) trimmed.chop(1);
  const qsizetype slash = trimmed.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  if (slash == 0) return QByteArrayLiteral("/");
  return trimmed.left(slash);
}

bool IsFolder(const QByteArray& path) {
  struct stat st {};
  return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString PersonalConfigFolder() {
  const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
  const QString base = QDir::isAbsolutePath(configHome) ? configHome : QDir::homePath() + QStringLiteral("/.config");
  return QDir::cleanPath(base + QStringLiteral("/penlark"));
}

}  // namespace

void ProbeFileDateTime(const QString& path) {
  if (path.isEmpty()) throw RuntimeError(ErrorNumber::PathFileAccess);
  const QByteArray native = QFile::encodeName(path);
  struct stat st {};
  if (::stat(native.constData(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) throw RuntimeError(ErrorNumber::PathFileAccess);
    return;
  }
  switch (errno) {
    case ENOENT:
      throw RuntimeError(IsFolder(FolderOf(native)) ? ErrorNumber::FileNotFound
                                                    : ErrorNumber::PathNotFound);
    case ENOTDIR:
      throw RuntimeError(ErrorNumber::PathNotFound);
    default:
      throw RuntimeError(ErrorNumber::PathFileAccess);
  }
}

QString GetShortPathName(const QString& path) {
  if (path.isEmpty()) return {};
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
  return path;
}

QString ConfigFileLocation(const QString& programDir) {
  const QString beside = programDir + QStringLiteral("/PENLARK.INI");
  if (QFile::exists(beside) || ::access(QFile::encodeName(programDir).constData(), W_OK) == 0) return beside;
  return PersonalConfigFolder() + QStringLiteral("/PENLARK.INI");
}

bool MakeConfigFolder(const QString& path) {
  const QString folder = PersonalConfigFolder();
  if (path != folder + QStringLiteral("/PENLARK.INI")) return true;
  return QDir().mkpath(folder);
}
