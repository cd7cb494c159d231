#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

#include <sys/types.h>

// The address book's item names for a record's fields, in a fixed order; a record's
// field is identified by its position here.
const QStringList& FieldItemNames();
int FieldIdOf(const QString& item);  // -1 for a name that is not a field item

// One address record: the fields it has; a field it lacks is blank. Kept compact, as a book
// may hold hundreds of thousands: one block holding how many fields, then per field its id
// and where its value ends, then the values back to back in UTF-8.
class Record {
 public:
  Record() = default;
  // (field id, value) in any order; blank values are left out.
  explicit Record(const std::vector<std::pair<int, QString>>& fields);

  QString Field(int id) const;
  QByteArrayView FieldUtf8(int id) const;  // as stored, empty when blank
  std::vector<std::pair<int, QString>> Fields() const;  // ascending ids

 private:
  QByteArray data_;
};

// The records of one section in the order of one index: by the index field, then the
// first name, both ignoring case, then by file order; records whose index field is blank
// come last, so a list of everyone starts with the names.
//
// What a find matches is what a plain scan of the records would: a record whose index
// field, case-folded, starts with the text, case-folded. An empty text matches every record
// of the section, those with a blank index field too; a text that is not empty never
// matches a blank field. An index is made after its section's records and made again
// after they change.
class SortedIndex {
 public:
  SortedIndex() = default;
  SortedIndex(const std::vector<Record>& records, int fieldId);

  // Positions [first, last) of the records the text matches, as above.
  std::pair<size_t, size_t> PrefixRange(const QString& text) const;
  int RecordAt(size_t position) const { return order_[position]; }
  size_t Size() const { return order_.size(); }

 private:
  QStringView Key(size_t position) const;

  std::vector<int> order_;      // record numbers in index order
  QString keys_;                // the case-folded index fields, in that order, back to back
  std::vector<quint32> ends_;   // where each ends in keys_
  size_t filled_ = 0;           // records before this position have the index field
};

struct Section {
  QString name;
  std::vector<Record> records;
  SortedIndex byLastName;
  SortedIndex byCompany;
};

// One data file, as given on the command line. Its identity is the file itself (device
// and inode), so any path that reaches it names it.
struct DataFile {
  QString path;
  dev_t device = 0;
  ino_t inode = 0;
  std::vector<Section> sections;

  const Section* FindSection(const QString& name) const;  // ignoring case
};

// Reads and checks a data file; on failure nothing, and *error names the file and, for
// a syntax error, the line ("FILE:LINE: what"). A path ending in ".vcf" (any case) is a
// vCard file (VcardReader.h): it never fails for its contents, and each card it skips
// adds a warning ("FILE:LINE: what") to *warnings when given.
std::optional<DataFile> LoadDataFile(const QString& path, QString* error,
                                     QStringList* warnings = nullptr);

// Whether a path reaches this file (relative paths from the working directory).
bool SameFile(const DataFile& file, const QString& path);
