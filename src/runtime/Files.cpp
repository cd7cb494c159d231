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
  // A folder has a modification time too, so it passes; the link set-up reports it when
  // the address book will not serve it. Refusing it here ended every start with 75.
  if (::stat(native.constData(), &st) == 0) return;
  switch (errno) {
    case ENOENT:
      throw RuntimeError(IsFolder(FolderOf(native)) ? ErrorNumber::FileNotFound
                                                    : ErrorNumber::PathNotFound);
    // A path that cannot be followed (not a folder on the way, no right to pass a folder,
    // a loop of links, too long) cannot reach its folder: 76, which lets the person name
    // another file, where 75 would end every start until PENLARK.INI is edited by hand.
    case ENOTDIR:
    case EACCES:
    case ELOOP:
    case ENAMETOOLONG:
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
