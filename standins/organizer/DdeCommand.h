#pragma once

#include "AddressBook.h"

#include <QString>

#include <optional>

// The address book's command language apart from the bus: reading a command and moving one
// conversation through its data file. No bus, no I/O, so any text can be thrown at it.

struct DdeCommand {
  QString name;  // SelectSection, SelectIndex or Find
  QString argument;
};

// Exactly [Name("argument")]: no blanks, one command, no quote inside the argument, a
// name of the three; nothing for any other text.
std::optional<DdeCommand> ParseDdeCommand(const QString& text);

// Where one conversation stands: its section, index and the matches of its last find.
// The pointers point into the data file the conversation was opened on.
struct DdeCursor {
  const Section* section = nullptr;
  const SortedIndex* index = nullptr;
  size_t first = 0, last = 0, cursor = 0;  // matches [first, last) of the index
  bool hasCurrent = false;
  long long result = 0;  // what "RESULT" answers
};

void RunDdeCommand(DdeCursor& cursor, const DataFile& file, const DdeCommand& command);

// "RESULT", or a field of the current match ("" when there is none); nothing for an
// item that is neither.
std::optional<QString> RequestDdeItem(const DdeCursor& cursor, const QString& item);
