#include "VcardReader.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <map>
#include <optional>

namespace {

constexpr int kNotPreferred = INT_MAX;
const QString kParagraph = QStringLiteral("\r");

// One property line as written: the file lines unfolded into it.
struct Line {
  int number = 0;                  // the file line it starts on
  std::vector<QByteArray> pieces;  // its first file line, then each folded one with its blank
  bool quotedPrintable = false, base64 = false;
};

bool IsMarker(const QByteArray& text, const char* marker) {
  return text.trimmed().compare(marker, Qt::CaseInsensitive) == 0;
}

std::vector<Line> UnfoldedLines(QByteArray bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  std::vector<Line> lines;
  int number = 0;
  for (qsizetype start = 0; start < bytes.size();) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    QByteArray text = bytes.mid(start, end - start);
    if (text.endsWith('\r')) text.chop(1);
    start = end + 1;
    ++number;
    Line* last = lines.empty() ? nullptr : &lines.back();
    // A soft break must not swallow the next card when a writer left a stray "=".
    if (last && last->quotedPrintable && last->pieces.back().endsWith('=') &&
        !IsMarker(text, "BEGIN:VCARD") && !IsMarker(text, "END:VCARD")) {
      last->pieces.back().chop(1);
      last->pieces.back() += text;
    } else if (last && last->base64 && !text.isEmpty() && !text.contains(':')) {
      last->pieces.back() += text;  // 2.1 lets base64 go on unindented up to a blank line
    } else if (last && (text.startsWith(' ') || text.startsWith('\t'))) {
      last->pieces.push_back(text);
    } else {
      Line line;
      line.number = number;
      const QByteArray head = text.left(text.indexOf(':')).toUpper();
      line.quotedPrintable = head.contains("QUOTED-PRINTABLE");
      line.base64 = head.contains("BASE64") || head.contains("ENCODING=B");
      line.pieces.push_back(text);
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

QByteArray Joined(const Line& line, bool keepBlank) {
  QByteArray text = line.pieces.front();
  for (size_t i = 1; i < line.pieces.size(); ++i)
    text += keepBlank ? line.pieces[i] : line.pieces[i].mid(1);
  return text;
}

struct Property {
  int line = 0;
  QByteArray group;                // lower-case, empty when none
  QByteArray name;                 // upper-case
  std::vector<QByteArray> types;   // lower-case
  int pref = kNotPreferred;        // lower is preferred
  QByteArray encoding, valueType;  // lower-case
  QByteArray charset;
  QByteArray value;                // as written

  bool Is(const char* type) const { return std::find(types.begin(), types.end(), type) != types.end(); }
  void AddType(const QByteArray& type) {
    if (type == "pref") pref = std::min(pref, 1);
    else if (!type.isEmpty()) types.push_back(type);
  }
};

QByteArray Unquoted(QByteArray text) {
  text = text.trimmed();
  if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"')) text = text.mid(1, text.size() - 2);
  return text;
}

std::vector<QByteArray> SplitOutsideQuotes(const QByteArray& text, char separator) {
  std::vector<QByteArray> parts(1);
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == separator && !quoted) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

std::optional<Property> ParseProperty(const QByteArray& text, int line) {
  qsizetype colon = -1;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size() && colon < 0; ++i) {
    if (text[i] == '"') quoted = !quoted;
    else if (text[i] == ':' && !quoted) colon = i;
  }
  if (colon <= 0) return std::nullopt;
  Property p;
  p.line = line;
  p.value = text.mid(colon + 1);
  const std::vector<QByteArray> parts = SplitOutsideQuotes(text.left(colon), ';');
  const QByteArray name = parts.front().trimmed();
  const qsizetype dot = name.lastIndexOf('.');
  p.group = name.left(std::max<qsizetype>(dot, 0)).toLower();
  p.name = name.mid(dot + 1).toUpper();
  for (size_t i = 1; i < parts.size(); ++i) {
    const qsizetype equals = parts[i].indexOf('=');
    const QByteArray key = equals < 0 ? QByteArray() : parts[i].left(equals).trimmed().toUpper();
    const QByteArray written = Unquoted(parts[i].mid(equals + 1));
    const QByteArray value = written.toLower();
    if (key.isEmpty()) {  // 2.1's bare parameters
      if (value == "quoted-printable" || value == "base64" || value == "8bit" || value == "7bit")
        p.encoding = value;
      else
        p.AddType(value);
    } else if (key == "TYPE") {
      for (const QByteArray& type : value.split(',')) p.AddType(Unquoted(type));
    } else if (key == "PREF") {
      bool ok = false;
      const int pref = value.toInt(&ok);
      if (ok) p.pref = std::min(p.pref, pref);
    } else if (key == "ENCODING") {
      p.encoding = value;
    } else if (key == "CHARSET") {
      p.charset = written;
    } else if (key == "VALUE") {
      p.valueType = value;
    }
  }
  return p;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<QByteArray> FromQuotedPrintable(const QByteArray& text) {
  QByteArray bytes;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != '=') {
      bytes += text[i];
    } else if (i + 1 < text.size()) {  // a "=" ending the value is a last soft break
      const int high = HexDigit(text[i + 1]);
      const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
      if (high < 0 || low < 0) return std::nullopt;
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  return bytes;
}

std::optional<QString> DecodedText(const Property& p, QString* problem) {
  QByteArray bytes = p.value;
  if (p.encoding == "quoted-printable") {
    std::optional<QByteArray> decoded = FromQuotedPrintable(bytes);
    if (!decoded) {
      *problem = QStringLiteral("bad quoted-printable in %1").arg(QString::fromLatin1(p.name));
      return std::nullopt;
    }
    bytes = *decoded;
  } else if (p.encoding == "b" || p.encoding == "base64") {
    bytes = QByteArray::fromBase64(bytes);
  }
  if (!p.charset.isEmpty()) {
    QStringDecoder decoder(p.charset.constData());
    if (!decoder.isValid()) {
      *problem = QStringLiteral("unknown character set \"%1\"").arg(QString::fromLatin1(p.charset));
      return std::nullopt;
    }
    return QString(decoder(bytes));
  }
  QStringDecoder utf8(QStringConverter::Utf8);
  QString text = utf8(bytes);
  if (!utf8.hasError()) return text;
  QStringDecoder windows("windows-1252");
  return windows.isValid() ? QString(windows(bytes)) : QString::fromLatin1(bytes);
}

// The parts between separators no backslash escapes; the escapes stay in.
QStringList SplitUnescaped(const QString& text, QStringView separators) {
  QStringList parts(1);
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size()) {
      parts.back() += text[i];
      parts.back() += text[++i];
    } else if (separators.contains(text[i])) {
      parts.append(QString());
    } else {
      parts.back() += text[i];
    }
  }
  return parts;
}

QString Unescaped(const QString& text) {
  QString plain;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\\' || i + 1 == text.size()) {
      plain += text[i];
      continue;
    }
    const QChar next = text[++i];
    if (next == u'n' || next == u'N') {
      plain += u'\n';
    } else {
      if (!QStringView(u"\\,;:").contains(next)) plain += u'\\';
      plain += next;
    }
  }
  return plain;
}

QString Cleaned(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QStringList lines;
  for (const QString& line : text.split(u'\n')) {
    const QString trimmed = line.trimmed();
    if (!trimmed.isEmpty()) lines << trimmed;
  }
  return lines.join(kParagraph);
}

// Part i of a structured value: its list values, cleaned, empty ones left out.
QStringList Part(const QStringList& parts, qsizetype i, bool lists) {
  QStringList values;
  if (i >= parts.size()) return values;
  for (const QString& raw : lists ? SplitUnescaped(parts[i], u",") : QStringList{parts[i]}) {
    const QString value = Cleaned(Unescaped(raw));
    if (!value.isEmpty()) values << value;
  }
  return values;
}

// One TEL, EMAIL or ADR: the number and its extension, the address, or the five address items.
struct Contact {
  int pref = kNotPreferred;
  bool home = false, work = false, fax = false;
  QStringList values;
};

struct Card {
  bool named = false;  // N gives a family or a given name
  QString family, given, prefix, fn, org, title, kind;
  bool showsCompany = false;
  std::vector<Contact> phones, emails, addresses;
  QString assistant, spouse;
  std::map<QByteArray, QString> labels;                      // group: X-ABLabel
  std::vector<std::pair<QByteArray, QString>> relatedNames;  // group, name
  QStringList categories;
};

const char* const kAssistantNames[] = {"X-ASSISTANT", "X-EVOLUTION-ASSISTANT",
                                       "X-KADDRESSBOOK-X-ASSISTANTSNAME", "X-MS-ASSISTANT"};
const char* const kSpouseNames[] = {"X-SPOUSE", "X-EVOLUTION-SPOUSE",
                                    "X-KADDRESSBOOK-X-SPOUSESNAME", "X-MS-SPOUSE"};
const char* const kUsedNames[] = {"N", "FN", "ORG", "TITLE", "KIND", "X-ABSHOWAS", "TEL", "EMAIL",
                                  "ADR", "CATEGORIES", "X-ABLABEL", "X-ABRELATEDNAMES", "RELATED"};

bool IsOneOf(const QByteArray& name, const auto& names) {
  return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return name == n; });
}

void SetOnce(QString* field, const QString& value) {
  if (field->isEmpty()) *field = value;
}

Contact ContactOf(const Property& p) {
  Contact contact;
  contact.pref = p.pref;
  contact.home = p.Is("home");
  contact.work = p.Is("work") || !contact.home;
  contact.fax = p.Is("fax");
  return contact;
}

// Takes what the mapping uses from one property; false, with the reason, when a value it
// uses cannot be read.
bool Take(const Property& p, bool lists, Card* card, QString* problem) {
  if (!IsOneOf(p.name, kUsedNames) && !IsOneOf(p.name, kAssistantNames) && !IsOneOf(p.name, kSpouseNames))
    return true;
  const std::optional<QString> decoded = DecodedText(p, problem);
  if (!decoded) return false;
  const QString text = Cleaned(Unescaped(*decoded));
  const QStringList parts = SplitUnescaped(*decoded, u";");
  Contact contact = ContactOf(p);
  if (p.name == "N") {
    card->family = Part(parts, 0, lists).join(u' ');
    card->given = Part(parts, 1, lists).join(u' ');
    card->prefix = Part(parts, 3, lists).join(u' ');
    card->named = !card->family.isEmpty() || !card->given.isEmpty();
  } else if (p.name == "FN") {
    SetOnce(&card->fn, text);
  } else if (p.name == "ORG") {
    SetOnce(&card->org, Part(parts, 0, false).join(u' '));
  } else if (p.name == "TITLE") {
    SetOnce(&card->title, text);
  } else if (p.name == "KIND") {
    card->kind = text.toLower();
  } else if (p.name == "X-ABSHOWAS") {
    card->showsCompany = text.compare(QLatin1String("COMPANY"), Qt::CaseInsensitive) == 0;
  } else if (p.name == "TEL") {
    QString number = text, extension;
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
      const QStringList uri = number.mid(4).split(u';');
      number = uri.front();
      for (const QString& parameter : uri)
        if (parameter.startsWith(QLatin1String("ext="), Qt::CaseInsensitive)) extension = parameter.mid(4);
    }
    contact.values = {number, extension};
    if (!number.isEmpty()) card->phones.push_back(contact);
  } else if (p.name == "EMAIL") {
    contact.values = {text};
    if (!text.isEmpty()) card->emails.push_back(contact);
  } else if (p.name == "ADR") {
    const QStringList street = Part(parts, 2, lists) + Part(parts, 1, lists) + Part(parts, 0, lists);
    contact.values = {street.join(kParagraph)};
    for (int i = 3; i <= 6; ++i) contact.values << Part(parts, i, lists).join(u' ');
    card->addresses.push_back(contact);
  } else if (p.name == "CATEGORIES") {
    for (const QString& raw : SplitUnescaped(*decoded, u",;")) {
      const QString name = Cleaned(Unescaped(raw));
      if (!name.isEmpty() && !card->categories.contains(name, Qt::CaseInsensitive)) card->categories << name;
    }
  } else if (p.name == "X-ABLABEL") {
    card->labels[p.group] = text;
  } else if (p.name == "X-ABRELATEDNAMES") {
    card->relatedNames.emplace_back(p.group, text);
  } else if (p.name == "RELATED") {
    if (p.valueType == "text" && p.Is("spouse")) SetOnce(&card->spouse, text);
  } else if (IsOneOf(p.name, kAssistantNames)) {
    SetOnce(&card->assistant, text);
  } else {
    SetOnce(&card->spouse, text);
  }
  return true;
}

bool IsHonorific(QString word) {
  static const QStringList honorifics = {
      QStringLiteral("mr"),   QStringLiteral("mrs"),  QStringLiteral("ms"),   QStringLiteral("miss"),
      QStringLiteral("mx"),   QStringLiteral("dr"),   QStringLiteral("prof"), QStringLiteral("sir"),
      QStringLiteral("dame"), QStringLiteral("rev"),  QStringLiteral("revd"), QStringLiteral("herr"),
      QStringLiteral("frau"), QStringLiteral("mme"),  QStringLiteral("mlle")};
  if (word.endsWith(u'.')) word.chop(1);
  return honorifics.contains(word.toLower());
}

// A name written as one text: "Family, Given" or "Given... Family", either with a leading
// honorific; lower-case words before the family name ("van der") belong to it.
void TakeApart(const QString& fn, QString* title, QString* given, QString* family) {
  const qsizetype comma = fn.indexOf(u',');
  QStringList words = fn.mid(comma + 1).split(u' ', Qt::SkipEmptyParts);
  if (!words.isEmpty() && IsHonorific(words.front())) {
    SetOnce(title, words.front());
    words.removeFirst();
  }
  if (comma >= 0) {
    *family = fn.left(comma).trimmed();
    *given = words.join(u' ');
    return;
  }
  if (words.isEmpty()) return;
  QStringList last = {words.takeLast()};
  while (words.size() > 1 && words.back().front().isLower()) last.prepend(words.takeLast());
  *family = last.join(u' ');
  *given = words.join(u' ');
}

Record RecordOf(Card card) {
  std::vector<QString> fields(FieldItemNames().size());
  auto field = [&](const char* item) -> QString& { return fields[FieldIdOf(QLatin1String(item))]; };

  const bool organisation = card.kind == QLatin1String("org") || card.kind == QLatin1String("group") ||
                            card.kind == QLatin1String("location") || card.showsCompany ||
                            (!card.org.isEmpty() && card.fn.compare(card.org, Qt::CaseInsensitive) == 0);
  field("Title") = card.prefix;
  if (card.named) {
    field("FirstName") = card.given;
    field("LastName") = card.family;
  } else if (!organisation) {
    TakeApart(card.fn, &field("Title"), &field("FirstName"), &field("LastName"));
  }
  field("Company") = organisation && card.org.isEmpty() ? card.fn : card.org;
  field("Position") = card.title;

  auto byPreference = [](const Contact& a, const Contact& b) { return a.pref < b.pref; };
  std::stable_sort(card.addresses.begin(), card.addresses.end(), byPreference);
  std::stable_sort(card.phones.begin(), card.phones.end(), byPreference);
  std::stable_sort(card.emails.begin(), card.emails.end(), byPreference);
  static const char* const workItems[] = {"Address", "City", "State", "Zip", "Country"};
  static const char* const homeItems[] = {"Home-Address", "Home-City", "Home-State", "Home-Zip", "Home-Country"};
  const Contact* work = nullptr;
  const Contact* home = nullptr;
  for (const Contact& address : card.addresses) {
    if (address.work && !work) work = &address;
    if (address.home && !home) home = &address;
  }
  for (int i = 0; i < 5; ++i) {
    if (work) field(workItems[i]) = work->values[i];
    if (home) field(homeItems[i]) = home->values[i];
  }
  for (const Contact& phone : card.phones) {
    const QString& number = phone.values[0];
    if (phone.work) {
      QString& first = field(phone.fax ? "Fax" : "Phone");
      if (first.isEmpty()) {
        first = number;
        if (!phone.fax) field("Extn") = phone.values[1];
      } else {
        SetOnce(&field("Business Tel2"), number);
      }
    }
    if (phone.home && field(phone.fax ? "Home-Fax" : "Home-Phone").isEmpty()) {
      field(phone.fax ? "Home-Fax" : "Home-Phone") = number;
      if (!phone.fax) field("Home-Extn") = phone.values[1];
    }
  }
  for (const Contact& email : card.emails) {
    if (email.work) SetOnce(&field("E-mail"), email.values[0]);
    if (email.home) SetOnce(&field("Home-Email"), email.values[0]);
  }
  for (const auto& [group, name] : card.relatedNames) {
    const QString label = card.labels[group];
    if (label.contains(QLatin1String("assistant"), Qt::CaseInsensitive)) SetOnce(&card.assistant, name);
    if (label.contains(QLatin1String("spouse"), Qt::CaseInsensitive)) SetOnce(&card.spouse, name);
  }
  field("Assistant") = card.assistant;
  field("Spouse") = card.spouse;

  Record record;
  for (size_t id = 0; id < fields.size(); ++id)
    if (!fields[id].isEmpty()) record.fields.emplace_back(static_cast<int>(id), fields[id]);
  return record;
}

// The card between BEGIN:VCARD and END:VCARD; false with the reason and its line when it
// cannot be read.
bool ReadCard(const std::vector<Line>& lines, Card* card, QString* problem, int* problemLine) {
  int version = 0;
  for (const Line& line : lines) {
    const QByteArray& first = line.pieces.front();
    if (!first.toUpper().startsWith("VERSION:")) continue;
    const QByteArray number = first.mid(8).trimmed();
    version = number == "2.1" ? 21 : number == "3.0" ? 30 : number == "4.0" ? 40 : -1;
    if (version < 0) {
      *problem = QStringLiteral("unknown vCard version \"%1\"").arg(QString::fromUtf8(number));
      *problemLine = line.number;
      return false;
    }
  }
  for (const Line& line : lines) {
    *problemLine = line.number;
    const std::optional<Property> property = ParseProperty(Joined(line, version == 21), line.number);
    if (!property) {
      *problem = QStringLiteral("a line without a colon");
      return false;
    }
    if (!Take(*property, version != 21, card, problem)) return false;
  }
  return true;
}

}  // namespace

VcardBook ReadVcards(const QByteArray& bytes, const QString& path) {
  VcardBook book;
  QString fileSection = QFileInfo(path).fileName();
  if (fileSection.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive)) fileSection.chop(4);
  book.sections.emplace_back();
  book.sections.front().name = fileSection;
  auto warn = [&](int line, const QString& reason) {
    book.warnings << QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(reason);
  };
  auto keep = [&](const Card& card) {
    const Record record = RecordOf(card);
    book.sections.front().records.push_back(record);
    for (const QString& category : card.categories) {
      auto section = std::find_if(book.sections.begin(), book.sections.end(), [&](const Section& s) {
        return s.name.compare(category, Qt::CaseInsensitive) == 0;
      });
      if (section == book.sections.begin()) continue;
      if (section == book.sections.end()) {
        section = book.sections.emplace(book.sections.end());
        section->name = category;
      }
      section->records.push_back(record);
    }
  };

  std::optional<int> begin;  // the BEGIN:VCARD line of the card being read
  std::vector<Line> card;
  bool outside = false;      // in a run of text outside the cards, already reported
  for (Line& line : UnfoldedLines(bytes)) {
    const QByteArray& first = line.pieces.front();
    if (line.pieces.size() == 1 && first.trimmed().isEmpty()) continue;
    if (IsMarker(first, "BEGIN:VCARD")) {
      if (begin)
        warn(*begin, QStringLiteral("card skipped: no END:VCARD before the BEGIN:VCARD of line %1")
                         .arg(line.number));
      begin = line.number;
      card.clear();
    } else if (!begin) {
      if (!outside) warn(line.number, QStringLiteral("text outside a card ignored"));
      outside = true;
      continue;
    } else if (IsMarker(first, "END:VCARD")) {
      Card read;
      QString problem;
      int problemLine = *begin;
      if (ReadCard(card, &read, &problem, &problemLine)) keep(read);
      else warn(problemLine, QStringLiteral("card skipped: ") + problem);
      begin.reset();
    } else {
      card.push_back(std::move(line));
    }
    outside = false;
  }
  if (begin) warn(*begin, QStringLiteral("card skipped: no END:VCARD"));
  return book;
}
