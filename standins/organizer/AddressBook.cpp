#include "AddressBook.h"

#include "VcardReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <numeric>

#include <sys/stat.h>

const QStringList& FieldItemNames() {
  static const QStringList names = {
      QStringLiteral("FirstName"),    QStringLiteral("LastName"),      QStringLiteral("Company"),
      QStringLiteral("Title"),        QStringLiteral("Position"),      QStringLiteral("Address"),
      QStringLiteral("City"),         QStringLiteral("State"),         QStringLiteral("Zip"),
      QStringLiteral("Country"),      QStringLiteral("Phone"),         QStringLiteral("Extn"),
      QStringLiteral("Fax"),          QStringLiteral("Business Tel2"), QStringLiteral("Assistant"),
      QStringLiteral("E-mail"),       QStringLiteral("Spouse"),        QStringLiteral("Home-Address"),
      QStringLiteral("Home-City"),    QStringLiteral("Home-State"),    QStringLiteral("Home-Zip"),
      QStringLiteral("Home-Country"), QStringLiteral("Home-Phone"),    QStringLiteral("Home-Extn"),
      QStringLiteral("Home-Fax"),     QStringLiteral("Home-Email"),    QStringLiteral("Home-Unused1"),
      QStringLiteral("Home-Unused2")};
  return names;
}

int FieldIdOf(const QString& item) { return static_cast<int>(FieldItemNames().indexOf(item)); }

QString Record::Field(int id) const {
  auto it = std::lower_bound(fields.begin(), fields.end(), id,
                             [](const auto& field, int wanted) { return field.first < wanted; });
  return it != fields.end() && it->first == id ? it->second : QString();
}

SortedIndex::SortedIndex(const std::vector<Record>& records, int fieldId) {
  static const int firstNameId = FieldIdOf(QStringLiteral("FirstName"));
  std::vector<QString> key(records.size());
  std::vector<QString> firstName(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    key[i] = records[i].Field(fieldId).toCaseFolded();
    firstName[i] = records[i].Field(firstNameId).toCaseFolded();
  }
  order_.resize(records.size());
  std::iota(order_.begin(), order_.end(), 0);
  // Stable, so records equal in both names keep their file order.
  std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
    if (key[a].isEmpty() != key[b].isEmpty()) return key[b].isEmpty();
    if (key[a] != key[b]) return key[a] < key[b];
    return firstName[a] < firstName[b];
  });
  keys_.reserve(order_.size());
  for (int record : order_) keys_.push_back(key[record]);
  filled_ = static_cast<size_t>(std::find_if(keys_.begin(), keys_.end(),
                                             [](const QString& k) { return k.isEmpty(); }) - keys_.begin());
}

std::pair<size_t, size_t> SortedIndex::PrefixRange(const QString& text) const {
  if (text.isEmpty()) return {0, keys_.size()};
  const QString prefix = text.toCaseFolded();
  // Among the filled keys, those starting with the prefix sort directly after it and
  // before any other key greater than it, so they form one run.
  const auto end = keys_.begin() + static_cast<std::ptrdiff_t>(filled_);
  auto first = std::lower_bound(keys_.begin(), end, prefix);
  auto last = std::partition_point(first, end, [&](const QString& key) { return key.startsWith(prefix); });
  return {static_cast<size_t>(first - keys_.begin()), static_cast<size_t>(last - keys_.begin())};
}

const Section* DataFile::FindSection(const QString& name) const {
  for (const Section& section : sections)
    if (section.name.compare(name, Qt::CaseInsensitive) == 0) return &section;
  return nullptr;
}

namespace {

int LineOfOffset(const QByteArray& data, qsizetype offset) {
  offset = std::clamp<qsizetype>(offset, 0, data.size());
  return 1 + static_cast<int>(std::count(data.begin(), data.begin() + offset, '\n'));
}

bool ReadRecord(const QJsonValue& value, Record* record, QString* what) {
  if (!value.isObject()) {
    *what = QStringLiteral("is not an object");
    return false;
  }
  const QJsonObject object = value.toObject();
  for (auto it = object.begin(); it != object.end(); ++it) {
    const int id = FieldIdOf(it.key());
    if (id < 0) {
      *what = QStringLiteral("has the unknown field \"%1\"").arg(it.key());
      return false;
    }
    if (!it.value().isString()) {
      *what = QStringLiteral("field \"%1\" is not a text").arg(it.key());
      return false;
    }
    record->fields.emplace_back(id, it.value().toString());
  }
  std::sort(record->fields.begin(), record->fields.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return true;
}

void IndexSection(Section* section) {
  section->byLastName = SortedIndex(section->records, FieldIdOf(QStringLiteral("LastName")));
  section->byCompany = SortedIndex(section->records, FieldIdOf(QStringLiteral("Company")));
}

bool ReadSections(const QJsonDocument& document, DataFile* file, QString* what) {
  const QJsonValue sections = document.object().value(QStringLiteral("sections"));
  if (!document.isObject() || !sections.isArray()) {
    *what = QStringLiteral("the document is not an object with a \"sections\" list");
    return false;
  }
  int number = 0;
  for (const QJsonValue& value : sections.toArray()) {
    ++number;
    const QJsonObject object = value.toObject();
    const QJsonValue name = object.value(QStringLiteral("name"));
    const QJsonValue records = object.value(QStringLiteral("records"));
    if (!value.isObject() || !name.isString() || !records.isArray()) {
      *what = QStringLiteral("section %1 is not an object with a \"name\" text and a "
                             "\"records\" list").arg(number);
      return false;
    }
    if (file->FindSection(name.toString())) {
      *what = QStringLiteral("section %1: a second section named \"%2\"").arg(number).arg(name.toString());
      return false;
    }
    Section section;
    section.name = name.toString();
    int recordNumber = 0;
    for (const QJsonValue& recordValue : records.toArray()) {
      ++recordNumber;
      Record record;
      QString problem;
      if (!ReadRecord(recordValue, &record, &problem)) {
        *what = QStringLiteral("section \"%1\", record %2 %3").arg(section.name).arg(recordNumber).arg(problem);
        return false;
      }
      section.records.push_back(std::move(record));
    }
    IndexSection(&section);
    file->sections.push_back(std::move(section));
  }
  return true;
}

bool ReadJson(const QByteArray& data, DataFile* file, QString* error) {
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    *error = QStringLiteral("%1:%2: not valid JSON: %3")
                 .arg(file->path)
                 .arg(LineOfOffset(data, parseError.offset))
                 .arg(parseError.errorString());
    return false;
  }
  QString what;
  if (!ReadSections(document, file, &what)) {
    *error = QStringLiteral("%1: %2").arg(file->path, what);
    return false;
  }
  return true;
}

}  // namespace

std::optional<DataFile> LoadDataFile(const QString& path, QString* error, QStringList* warnings) {
  QFile input(path);
  if (!input.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("%1: cannot open the data file: %2").arg(path, input.errorString());
    return std::nullopt;
  }
  const QByteArray data = input.readAll();
  DataFile file;
  file.path = path;
  if (path.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive)) {
    VcardBook book = ReadVcards(data, path);
    if (!book.error.isEmpty()) {
      *error = book.error;
      return std::nullopt;
    }
    for (Section& section : book.sections) IndexSection(&section);
    file.sections = std::move(book.sections);
    if (warnings) *warnings += book.warnings;
  } else if (!ReadJson(data, &file, error)) {
    return std::nullopt;
  }
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
    *error = QStringLiteral("%1: cannot identify the data file").arg(path);
    return std::nullopt;
  }
  file.device = info.st_dev;
  file.inode = info.st_ino;
  return file;
}

bool SameFile(const DataFile& file, const QString& path) {
  struct stat info {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) return false;
  return info.st_dev == file.device && info.st_ino == file.inode;
}
