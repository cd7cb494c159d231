#include "DdeCommand.h"

#include <QRegularExpression>

#include <tuple>

std::optional<DdeCommand> ParseDdeCommand(const QString& text) {
  static const QRegularExpression syntax(
      QStringLiteral(R"re(\A\[(SelectSection|SelectIndex|Find)\("([^"]*)"\)\]\z)re"));
  const QRegularExpressionMatch match = syntax.match(text);
  if (!match.hasMatch()) return std::nullopt;
  return DdeCommand{match.captured(1), match.captured(2)};
}

void RunDdeCommand(DdeCursor& c, const DataFile& file, const DdeCommand& command) {
  const QString& argument = command.argument;
  if (command.name == QLatin1String("SelectSection")) {
    c.section = file.FindSection(argument);
    c.index = nullptr;
    c.hasCurrent = false;
    c.result = c.section ? 1 : 0;
  } else if (command.name == QLatin1String("SelectIndex")) {
    c.index = nullptr;
    if (c.section && argument == QLatin1String("LastName")) c.index = &c.section->byLastName;
    if (c.section && argument == QLatin1String("Company")) c.index = &c.section->byCompany;
    c.hasCurrent = false;
    c.result = c.index ? 1 : 0;
  } else if (argument == QLatin1String("<NEXT>")) {
    if (c.hasCurrent && c.cursor + 1 < c.last) {
      ++c.cursor;
      c.result = static_cast<long long>(c.cursor - c.first);
    } else {
      c.hasCurrent = false;
      c.result = -1;
    }
  } else {
    c.hasCurrent = false;
    c.result = -1;
    if (c.index) {
      std::tie(c.first, c.last) = c.index->PrefixRange(argument);
      if (c.first < c.last) {
        c.cursor = c.first;
        c.hasCurrent = true;
        c.result = 0;
      }
    }
  }
}

std::optional<QString> RequestDdeItem(const DdeCursor& c, const QString& item) {
  if (item == QLatin1String("RESULT")) return QString::number(c.result);
  const int field = FieldIdOf(item);
  if (field < 0) return std::nullopt;
  if (!c.hasCurrent) return QString();
  return c.section->records[c.index->RecordAt(c.cursor)].Field(field);
}
