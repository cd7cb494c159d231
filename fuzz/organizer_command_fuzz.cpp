// Any text as a conversation with the address book, one command or "?item" request a
// line: the parser takes exactly the commands it can write back unchanged, and no command
// sequence moves a conversation off its matches or makes a request read past a record.

#include "AddressBook.h"
#include "DdeCommand.h"

#include <QStringList>

#include <cstdlib>

namespace {

Record Person(const char* first, const char* last, const char* company) {
  return Record({{FieldIdOf(QStringLiteral("FirstName")), QString::fromUtf8(first)},
                 {FieldIdOf(QStringLiteral("LastName")), QString::fromUtf8(last)},
                 {FieldIdOf(QStringLiteral("Company")), QString::fromUtf8(company)}});
}

const DataFile& Book() {
  static const DataFile book = [] {
    DataFile file;
    Section address;
    address.name = QStringLiteral("Address");
    address.records = {Person("Ann", "Lee", "Acme"), Person("Bob", "Lees", ""), Person("", "", "Acme"),
                       Person("Eve", "lee", "Übersee"), Person("Zoë", "Müller", "Straße"), Person("x", "ß", "SS")};
    Section empty;
    empty.name = QStringLiteral("Empty");
    for (Section* s : {&address, &empty}) {
      s->byLastName = SortedIndex(s->records, FieldIdOf(QStringLiteral("LastName")));
      s->byCompany = SortedIndex(s->records, FieldIdOf(QStringLiteral("Company")));
      file.sections.push_back(std::move(*s));
    }
    return file;
  }();
  return book;
}

void Check(bool held) {
  if (!held) std::abort();
}

void CheckCursor(const DdeCursor& c) {
  if (!c.hasCurrent) return;
  Check(c.section != nullptr && c.index != nullptr);
  Check(c.first <= c.cursor && c.cursor < c.last && c.last <= c.index->Size());
  Check(c.index->RecordAt(c.cursor) >= 0 &&
        static_cast<size_t>(c.index->RecordAt(c.cursor)) < c.section->records.size());
  Check(c.result == static_cast<long long>(c.cursor - c.first));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  DdeCursor cursor;
  for (const QString& line : text.split(u'\n')) {
    if (line.startsWith(u'?')) {
      const QString item = line.mid(1);
      const std::optional<QString> value = RequestDdeItem(cursor, item);
      Check(value.has_value() == (item == QLatin1String("RESULT") || FieldIdOf(item) >= 0));
      if (item == QLatin1String("RESULT")) Check(*value == QString::number(cursor.result));
      if (value && item != QLatin1String("RESULT") && !cursor.hasCurrent) Check(value->isEmpty());
      continue;
    }
    const std::optional<DdeCommand> command = ParseDdeCommand(line);
    if (!command) continue;
    Check(QStringLiteral("[%1(\"%2\")]").arg(command->name, command->argument) == line);
    Check(!command->argument.contains(u'"'));
    RunDdeCommand(cursor, Book(), *command);
    CheckCursor(cursor);
    if (command->name == QLatin1String("Find") && command->argument != QLatin1String("<NEXT>") && cursor.hasCurrent) {
      // The first match starts with the text, ignoring case.
      const bool bySurname = cursor.index == &cursor.section->byLastName;
      const Record& r = cursor.section->records[static_cast<size_t>(cursor.index->RecordAt(cursor.cursor))];
      const QString field = r.Field(FieldIdOf(bySurname ? QStringLiteral("LastName") : QStringLiteral("Company")));
      Check(field.toCaseFolded().startsWith(command->argument.toCaseFolded()));
    }
  }
  return 0;
}
