#include "Netrc.h"

#include <QDir>
#include <QList>

namespace {

QList<QByteArray> Words(const QByteArray& text) {
  QList<QByteArray> words;
  bool inMacro = false;
  for (const QByteArray& line : text.split('\n')) {
    const QByteArray trimmed = line.trimmed();
    if (inMacro) {
      inMacro = !trimmed.isEmpty();
      continue;
    }
    if (line.startsWith('#')) continue;
    for (qsizetype i = 0; i < line.size();) {
      if (QChar::isSpace(static_cast<uchar>(line[i]))) {
        ++i;
        continue;
      }
      QByteArray word;
      if (line[i] == '"') {
        for (++i; i < line.size() && line[i] != '"'; ++i) {
          char c = line[i];
          if (c == '\\' && i + 1 < line.size()) {
            c = line[++i];
            c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
          }
          word += c;
        }
        ++i;
      } else {
        while (i < line.size() && !QChar::isSpace(static_cast<uchar>(line[i]))) word += line[i++];
      }
      // A macro's body starts on the line after its name.
      if (!words.isEmpty() && words.last() == "macdef") inMacro = true;
      words << word;
    }
  }
  return words;
}

}  // namespace

std::optional<NetrcLogin> NetrcLookup(const QByteArray& text, const QString& host) {
  const QList<QByteArray> words = Words(text);
  std::optional<NetrcLogin> fallback;
  std::optional<NetrcLogin>* entry = nullptr;  // the one being read, when it counts
  std::optional<NetrcLogin> found;
  for (qsizetype i = 0; i < words.size(); ++i) {
    const QByteArray& word = words[i];
    const bool hasValue = i + 1 < words.size();
    if (word == "machine" && hasValue) {
      if (found) return found;
      entry = QString::fromUtf8(words[++i]).compare(host, Qt::CaseInsensitive) == 0 ? &found : nullptr;
      if (entry) found.emplace();
    } else if (word == "default") {
      if (found) return found;
      entry = fallback ? nullptr : &fallback;
      if (entry) fallback.emplace();
    } else if ((word == "login" || word == "password") && hasValue) {
      const QString value = QString::fromUtf8(words[++i]);
      if (entry) ((word == "login") ? (*entry)->login : (*entry)->password) = value;
    } else if (word == "account" && hasValue) {
      ++i;
    }
  }
  return found ? found : fallback;
}

QString NetrcPath() {
  const QString path = qEnvironmentVariable("NETRC");
  return path.isEmpty() ? QDir::homePath() + QStringLiteral("/.netrc") : path;
}
