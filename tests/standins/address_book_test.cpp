#include "AddressBook.h"
#include "DdeCommand.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace {

// The records a find and its next-match steps list, by record number, in listed order.
std::vector<int> Listed(const DataFile& file, const QString& index, const QString& text) {
  DdeCursor cursor;
  RunDdeCommand(cursor, file, {QStringLiteral("SelectSection"), file.sections.front().name});
  RunDdeCommand(cursor, file, {QStringLiteral("SelectIndex"), index});
  std::vector<int> listed;
  RunDdeCommand(cursor, file, {QStringLiteral("Find"), text});
  while (cursor.result != -1) {
    listed.push_back(cursor.index->RecordAt(cursor.cursor));
    RunDdeCommand(cursor, file, {QStringLiteral("Find"), QStringLiteral("<NEXT>")});
  }
  return listed;
}

// Books of made-up records, some lacking a name or a company, some with it blank, names
// differing in case and beyond ASCII; every find must list exactly what a plain scan of
// the records finds, each record once.
TEST(AddressBookTest, EveryFindListsWhatAPlainScanFinds) {
  const QStringList pieces = {QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"),
                              QStringLiteral("\u00e4"), QStringLiteral("\u00c4"), QStringLiteral(" ")};
  std::mt19937 random(19);
  auto text = [&](int longest) {
    QString t;
    for (int n = static_cast<int>(random() % (longest + 1)); n > 0; --n) t += pieces[random() % pieces.size()];
    return t;
  };
  const int lastName = FieldIdOf(QStringLiteral("LastName"));
  const int company = FieldIdOf(QStringLiteral("Company"));
  const int firstName = FieldIdOf(QStringLiteral("FirstName"));
  for (int book = 0; book < 40; ++book) {
    DataFile file;
    Section& section = file.sections.emplace_back();
    section.name = QStringLiteral("Address");
    for (int r = static_cast<int>(random() % 30); r > 0; --r) {
      std::vector<std::pair<int, QString>> fields = {{firstName, text(2)}};
      for (int id : {lastName, company})  // missing, blank or a name
        if (const int kind = static_cast<int>(random() % 4); kind > 0) fields.emplace_back(id, kind == 1 ? QString() : text(3));
      section.records.emplace_back(fields);
    }
    section.byLastName = SortedIndex(section.records, lastName);
    section.byCompany = SortedIndex(section.records, company);
    for (int search = 0; search < 20; ++search) {
      const QString wanted = search == 0 ? QString() : search == 1 ? QStringLiteral("") : text(2);
      for (const auto& [index, id] : {std::pair{QStringLiteral("LastName"), lastName}, std::pair{QStringLiteral("Company"), company}}) {
        std::multiset<int> scanned;
        for (size_t r = 0; r < section.records.size(); ++r) {
          const QString field = section.records[r].Field(id);
          if (wanted.isEmpty() || (!field.isEmpty() && field.toCaseFolded().startsWith(wanted.toCaseFolded())))
            scanned.insert(static_cast<int>(r));
        }
        const std::vector<int> listed = Listed(file, index, wanted);
        EXPECT_EQ(std::multiset<int>(listed.begin(), listed.end()), scanned)
            << "book " << book << ", " << index.toStdString() << " \"" << wanted.toStdString() << "\"";
      }
    }
  }
}

}  // namespace
