#include "AddressBook.h"

#include "VcardReader.h"

#include "AddressBookItems.h"

#include <QFile>
#include <QVarLengthArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <numeric>

#include <sys/stat.h>

const QStringList& FieldItemNames() {
  static const QStringList names = [] {
    QStringList list;
    for (const std::string_view item : kAddressBookItems)
      list.append(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
    return list;
  }();
  return names;
}

int FieldIdOf(const QString& item) { return static_cast<int>(FieldItemNames().indexOf(item)); }

Record::Record(const std::vector<std::pair<int, QString>>& fields) {
  std::vector<size_t> order;
  qsizetype most = 1;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].second.isEmpty()) continue;
    order.push_back(i);
    most += 4 + 3 * fields[i].second.size();
  }
  const auto byId = [&](size_t a, size_t b) { return fields[a].first < fields[b].first; };
  if (!std::is_sorted(order.begin(), order.end(), byId)) std::stable_sort(order.begin(), order.end(), byId);
  QVarLengthArray<char, 1024> block(most);
  char* head = block.data();
  char* text = head + 1 + 4 * order.size();
  char* const start = text;
  *head++ = static_cast<char>(order.size());
  for (size_t i : order) {
    const QString& value = fields[i].second;
    if (std::all_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x80; })) {
      for (QChar c : value) *text++ = static_cast<char>(c.unicode());
    } else {
      const QByteArray utf8 = value.toUtf8();
      text = std::copy(utf8.begin(), utf8.end(), text);
    }
    const auto end = static_cast<quint32>(text - start);
    *head++ = static_cast<char>(fields[i].first);
    *head++ = static_cast<char>(end & 0xFF);
    *head++ = static_cast<char>(end >> 8 & 0xFF);
    *head++ = static_cast<char>(end >> 16 & 0xFF);
  }
  data_ = QByteArray(block.data(), text - block.data());
}

namespace {

quint32 EndAt(const QByteArray& data, int entry) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData()) + 1 + 4 * entry;
  return bytes[1] | bytes[2] << 8 | bytes[3] << 16;
}

}  // namespace

QByteArrayView Record::FieldUtf8(int id) const {
  if (data_.isEmpty()) return {};
  const int count = static_cast<unsigned char>(data_[0]);
  const qsizetype text = 1 + 4 * count;
  for (int i = 0; i < count; ++i) {
    if (static_cast<unsigned char>(data_[1 + 4 * i]) != id) continue;
    const quint32 start = i == 0 ? 0 : EndAt(data_, i - 1);
    return QByteArrayView(data_).sliced(text + start, EndAt(data_, i) - start);
  }
  return {};
}

QString Record::Field(int id) const {
  const QByteArrayView bytes = FieldUtf8(id);
  return bytes.isEmpty() ? QString() : QString::fromUtf8(bytes);
}

std::vector<std::pair<int, QString>> Record::Fields() const {
  std::vector<std::pair<int, QString>> fields;
  const int count = data_.isEmpty() ? 0 : static_cast<unsigned char>(data_[0]);
  for (int i = 0; i < count; ++i) {
    const int id = static_cast<unsigned char>(data_[1 + 4 * i]);
    fields.emplace_back(id, Field(id));
  }
  return fields;
}

namespace {

// Case-folds each character, as QString::toCaseFolded does, onto the end of *to. Simple
// case folding keeps a character in its plane, so the length stays.
void AppendFolded(QString* to, QStringView text) {
  const qsizetype start = to->size();
  to->resize(start + text.size());
  QChar* out = to->data() + start;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < 0x80) {
      out[i] = QChar(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
    } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, text[i + 1].unicode()));
      out[i] = QChar(QChar::highSurrogate(folded));
      out[i + 1] = QChar(QChar::lowSurrogate(folded));
      ++i;
    } else {
      out[i] = QChar(static_cast<char16_t>(QChar::toCaseFolded(char32_t(c))));
    }
  }
}

// The same for UTF-8, ASCII folded without decoding.
void AppendFoldedUtf8(QString* to, QByteArrayView bytes) {
  if (!std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    AppendFolded(to, QString::fromUtf8(bytes));
    return;
  }
  const qsizetype start = to->size();
  to->resize(start + bytes.size());
  QChar* out = to->data() + start;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    out[i] = QChar(static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c));
  }
}

// The first four UTF-16 units, so that where two of these differ the texts compare the same
// way; where they are equal, the texts must still be compared.
quint64 Leading(QStringView text) {
  quint64 packed = 0;
  for (qsizetype i = 0; i < 4; ++i) packed = packed << 16 | (i < text.size() ? text[i].unicode() : 0);
  return packed;
}

}  // namespace

SortedIndex::SortedIndex(const std::vector<Record>& records, int fieldId) {
  static const int firstNameId = FieldIdOf(QStringLiteral("FirstName"));
  // Folded once into one text each, so sorting compares without allocating.
  QString keys, firstNames;
  std::vector<quint32> keyEnds(records.size() + 1), firstEnds(records.size() + 1);
  for (size_t i = 0; i < records.size(); ++i) {
    AppendFoldedUtf8(&keys, records[i].FieldUtf8(fieldId));
    AppendFoldedUtf8(&firstNames, records[i].FieldUtf8(firstNameId));
    keyEnds[i + 1] = static_cast<quint32>(keys.size());
    firstEnds[i + 1] = static_cast<quint32>(firstNames.size());
  }
  auto key = [&](int r) { return QStringView(keys).sliced(keyEnds[r], keyEnds[r + 1] - keyEnds[r]); };
  auto firstName = [&](int r) { return QStringView(firstNames).sliced(firstEnds[r], firstEnds[r + 1] - firstEnds[r]); };
  // Most comparisons are settled by the leading units of each name.
  struct Entry {
    bool blank;
    quint64 key0, key1, first0;
    int record;
  };
  std::vector<Entry> entries(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const QStringView k = key(static_cast<int>(i));
    entries[i] = {k.isEmpty(), Leading(k), Leading(k.size() > 4 ? k.sliced(4) : QStringView()),
                  Leading(firstName(static_cast<int>(i))), static_cast<int>(i)};
  }
  // Stable, so records equal in both names keep their file order.
  std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
    if (a.blank != b.blank) return b.blank;
    if (a.key0 != b.key0) return a.key0 < b.key0;
    if (a.key1 != b.key1) return a.key1 < b.key1;
    if (const int c = key(a.record).compare(key(b.record)); c != 0) return c < 0;
    if (a.first0 != b.first0) return a.first0 < b.first0;
    return firstName(a.record).compare(firstName(b.record)) < 0;
  });
  order_.reserve(records.size());
  for (const Entry& entry : entries) order_.push_back(entry.record);
  keys_.reserve(keys.size());
  ends_.reserve(order_.size());
  for (int record : order_) {
    keys_ += key(record);
    ends_.push_back(static_cast<quint32>(keys_.size()));
    if (!key(record).isEmpty()) ++filled_;
  }
}

QStringView SortedIndex::Key(size_t position) const {
  const quint32 start = position == 0 ? 0 : ends_[position - 1];
  return QStringView(keys_).sliced(start, ends_[position] - start);
}

std::pair<size_t, size_t> SortedIndex::PrefixRange(const QString& text) const {
  if (text.isEmpty()) return {0, order_.size()};
  QString prefix;
  AppendFolded(&prefix, text);
  // Among the filled keys, those starting with the prefix sort directly after it and
  // before any other key greater than it, so they form one run.
  auto before = [&](size_t position) { return Key(position).compare(prefix) < 0; };
  auto starts = [&](size_t position) { return Key(position).startsWith(prefix); };
  size_t first = 0, count = filled_;
  while (count > 0) {  // the first filled key not before the prefix
    const size_t half = count / 2;
    if (before(first + half)) { first += half + 1; count -= half + 1; }
    else count = half;
  }
  size_t last = first;
  count = filled_ - first;
  while (count > 0) {  // the first key after them that does not start with it
    const size_t half = count / 2;
    if (starts(last + half)) { last += half + 1; count -= half + 1; }
    else count = half;
  }
  return {first, last};
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
  std::vector<std::pair<int, QString>> fields;
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
    fields.emplace_back(id, it.value().toString());
  }
  *record = Record(fields);
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
  DataFile file;
  file.path = path;
  if (path.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive)) {
    VcardBook book = ReadVcardFile(input, path);
    if (!book.error.isEmpty()) {
      *error = book.error;
      return std::nullopt;
    }
    for (Section& section : book.sections) IndexSection(&section);
    file.sections = std::move(book.sections);
    if (warnings) *warnings += book.warnings;
  } else if (!ReadJson(input.readAll(), &file, error)) {
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
