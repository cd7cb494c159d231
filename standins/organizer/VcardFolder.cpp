#include "VcardFolder.h"

#include "VcardReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

#include <sys/stat.h>

std::optional<DataFile> LoadVcardFolder(const QString& path, QString* error, QStringList* warnings) {
  const QDir dir(path);
  struct stat info {};
  if (!dir.isReadable() || ::stat(QFile::encodeName(path).constData(), &info) != 0) {
    *error = QStringLiteral("%1: cannot read the folder").arg(path);
    return std::nullopt;
  }
  DataFile book;
  book.path = path;
  book.device = info.st_dev;
  book.inode = info.st_ino;
  // A trailing slash or "." would leave the name empty; the canonical path has none.
  Section all;
  all.name = QFileInfo(QFileInfo(path).canonicalFilePath()).fileName();
  if (all.name.isEmpty()) all.name = QStringLiteral("/");
  book.sections.push_back(std::move(all));

  const QFileInfoList files =
      dir.entryInfoList({QStringLiteral("*.vcf")}, QDir::Files | QDir::Readable | QDir::Hidden,
                        QDir::Name | QDir::IgnoreCase);
  // Unreadable files are not listed by the filter above; name them rather than drop them.
  for (const QFileInfo& file : dir.entryInfoList({QStringLiteral("*.vcf")}, QDir::Files | QDir::Hidden))
    if (!file.isReadable()) *warnings << QStringLiteral("%1: cannot read the file").arg(file.filePath());
  if (files.isEmpty()) *warnings << QStringLiteral("%1: no .vcf files in the folder").arg(path);

  for (const QFileInfo& fileInfo : files) {
    QFile file(fileInfo.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
      *warnings << QStringLiteral("%1: cannot read the file: %2").arg(file.fileName(), file.errorString());
      continue;
    }
    VcardBook cards = ReadVcards(file.readAll(), fileInfo.filePath());
    *warnings += cards.warnings;
    if (cards.sections.empty()) continue;
    // The file's own section is its every card; the rest are its categories. A category
    // spelt like the file's name is inside its own section and so not told apart here.
    auto& own = cards.sections.front().records;
    auto& into = book.sections.front().records;
    into.insert(into.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
    for (size_t i = 1; i < cards.sections.size(); ++i) {
      Section& category = cards.sections[i];
      if (category.name.compare(book.sections.front().name, Qt::CaseInsensitive) == 0) continue;
      auto existing = std::find_if(book.sections.begin(), book.sections.end(), [&](const Section& s) {
        return s.name.compare(category.name, Qt::CaseInsensitive) == 0;
      });
      if (existing == book.sections.end()) {
        book.sections.push_back(std::move(category));
        continue;
      }
      existing->records.insert(existing->records.end(), std::make_move_iterator(category.records.begin()),
                               std::make_move_iterator(category.records.end()));
    }
  }
  const int lastName = FieldIdOf(QStringLiteral("LastName"));
  const int company = FieldIdOf(QStringLiteral("Company"));
  for (Section& section : book.sections) {
    section.byLastName = SortedIndex(section.records, lastName);
    section.byCompany = SortedIndex(section.records, company);
  }
  return book;
}
