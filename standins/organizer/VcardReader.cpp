#include "VcardReader.h"

#include "VcardLines.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace {

using namespace vcard;

// One TEL, EMAIL or ADR: PhoneNumber(), the address, or the five address items.
struct Contact {
  int pref = kNotPreferred;
  bool home = false, work = false, fax = false;
  // For the business items: 0 typed work, 1 untyped, then the same two for a mobile (or
  // pager, car) number; lower wins, then the preferred, then the first.
  int rank = 1;
  QStringList values;
};

struct Card {
  bool named = false;  // N gives a family or a given name
  QString family, given, prefix, fn, org, title, kind, nickname;
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
const char* const kUsedNames[] = {"N", "FN", "NICKNAME", "ORG", "TITLE", "KIND", "X-ABSHOWAS", "TEL", "EMAIL",
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
  const bool mobile = p.Is("cell") || p.Is("mobile") || p.Is("iphone") || p.Is("pager") || p.Is("car");
  contact.rank = (p.Is("work") ? 0 : 1) + (mobile && !contact.fax ? 2 : 0);
  return contact;
}

// The number, its extension and the number with the extension: from a tel: URI's "ext="
// or from a text ending in "ext. 12" or "x12".
QStringList PhoneNumber(const QString& text) {
  if (text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
    const QStringList uri = text.mid(4).split(u';');
    for (const QString& parameter : uri)
      if (parameter.startsWith(QLatin1String("ext="), Qt::CaseInsensitive))
        return {uri.front(), parameter.mid(4), uri.front() + QStringLiteral(" ext. ") + parameter.mid(4)};
    return {uri.front(), QString(), uri.front()};
  }
  static const QRegularExpression extension(QStringLiteral(R"(\A(.*\d)[\s,]*(?:ext\.?|x)\s*(\d+)\z)"),
                                            QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = extension.match(text);
  if (match.hasMatch()) return {match.captured(1), match.captured(2), text};
  return {text, QString(), text};
}

// Takes what the mapping uses from one property; false, with the reason, when a value it
// uses cannot be read.
bool Take(const Property& p, bool lists, const TextRules& rules, Card* card, QString* problem) {
  if (!IsOneOf(p.name, kUsedNames) && !IsOneOf(p.name, kAssistantNames) && !IsOneOf(p.name, kSpouseNames))
    return true;
  const std::optional<QString> decoded = DecodedText(p, problem, rules);
  if (!decoded) return false;
  const bool structured = p.name == "N" || p.name == "ORG" || p.name == "ADR";
  const QString text = structured ? QString() : Cleaned(Unescaped(*decoded));
  const QStringList parts = structured ? SplitUnescaped(*decoded, u";") : QStringList();
  Contact contact = ContactOf(p);
  if (p.name == "N") {
    card->family = Part(parts, 0, lists).join(u' ');
    card->given = Part(parts, 1, lists).join(u' ');
    card->prefix = Part(parts, 3, lists).join(u' ');
    card->named = !card->family.isEmpty() || !card->given.isEmpty();
  } else if (p.name == "FN") {
    SetOnce(&card->fn, text);
  } else if (p.name == "NICKNAME") {
    SetOnce(&card->nickname, Part(SplitUnescaped(*decoded, u","), 0, false).join(u' '));
  } else if (p.name == "ORG") {
    SetOnce(&card->org, Part(parts, 0, false).join(u' '));
  } else if (p.name == "TITLE") {
    SetOnce(&card->title, text);
  } else if (p.name == "KIND") {
    card->kind = text.toLower();
  } else if (p.name == "X-ABSHOWAS") {
    card->showsCompany = text.compare(QLatin1String("COMPANY"), Qt::CaseInsensitive) == 0;
  } else if (p.name == "TEL") {
    contact.values = PhoneNumber(text);
    if (!contact.values[0].isEmpty()) card->phones.push_back(contact);
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
  // Searches go by surname or company: a card with neither (a phone's "Bob", a one-word
  // name) is filed under its only name, as its surname.
  if (field("LastName").isEmpty() && field("Company").isEmpty()) {
    QString& lastName = field("LastName");
    lastName = std::exchange(field("FirstName"), QString());
    if (lastName.isEmpty()) lastName = card.fn;
    if (lastName.isEmpty()) lastName = card.nickname;
  }

  // Each list in the order the business items take them; a home item takes the preferred,
  // then the first, of its own.
  auto byRank = [](const Contact& a, const Contact& b) {
    return a.rank != b.rank ? a.rank < b.rank : a.pref < b.pref;
  };
  std::stable_sort(card.addresses.begin(), card.addresses.end(), byRank);
  std::stable_sort(card.phones.begin(), card.phones.end(), byRank);
  std::stable_sort(card.emails.begin(), card.emails.end(), byRank);
  auto firstHome = [](const std::vector<Contact>& contacts, bool fax) -> const Contact* {
    const Contact* best = nullptr;
    for (const Contact& c : contacts)
      if (c.home && c.fax == fax && (!best || c.pref < best->pref)) best = &c;
    return best;
  };
  static const char* const workItems[] = {"Address", "City", "State", "Zip", "Country"};
  static const char* const homeItems[] = {"Home-Address", "Home-City", "Home-State", "Home-Zip", "Home-Country"};
  auto work = std::find_if(card.addresses.begin(), card.addresses.end(), [](const Contact& c) { return c.work; });
  const Contact* home = firstHome(card.addresses, false);
  for (int i = 0; i < 5; ++i) {
    if (work != card.addresses.end()) field(workItems[i]) = work->values[i];
    if (home) field(homeItems[i]) = home->values[i];
  }
  // Only the two phone items have an extension beside them; elsewhere it stays in the number.
  const Contact* phone = nullptr;
  const Contact* fax = nullptr;
  for (const Contact& c : card.phones) {
    if (c.work && !c.fax && !phone) phone = &c;
    if (c.work && c.fax && !fax) fax = &c;
  }
  if (phone) {
    field("Phone") = phone->values[0];
    field("Extn") = phone->values[1];
  }
  if (fax) field("Fax") = fax->values[2];
  for (const Contact& c : card.phones) {
    if (c.work && &c != phone && &c != fax) {
      field("Business Tel2") = c.values[2];
      break;
    }
  }
  if (const Contact* homePhone = firstHome(card.phones, false)) {
    field("Home-Phone") = homePhone->values[0];
    field("Home-Extn") = homePhone->values[1];
  }
  if (const Contact* homeFax = firstHome(card.phones, true)) field("Home-Fax") = homeFax->values[2];
  for (const Contact& email : card.emails) {
    if (email.work) SetOnce(&field("E-mail"), email.values[0]);
  }
  if (const Contact* homeEmail = firstHome(card.emails, false)) field("Home-Email") = homeEmail->values[0];
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
// cannot be read as a whole. A line it cannot read is left out, with its line and reason in
// *skipped, and the rest of the card is read.
bool ReadCard(const std::vector<Line>& lines, const TextRules& rules, bool foldBlanks, Card* card,
              QString* problem, int* problemLine, std::vector<std::pair<int, QString>>* skipped) {
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
    const std::optional<Property> property = ParseProperty(Joined(line, version == 21 && foldBlanks), line.number);
    QString reason;
    if (!property) skipped->emplace_back(line.number, QStringLiteral("a line without a colon"));
    else if (!Take(*property, version != 21, rules, card, &reason)) skipped->emplace_back(line.number, reason);
  }
  return true;
}

bool IsEmptyAgent(const Line& line) {
  if (line.pieces.size() != 1) return false;
  const std::optional<Property> property = ParseProperty(line.pieces.front(), line.number);
  return property && property->name == "AGENT" && property->value.trimmed().isEmpty();
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

  QString problem;
  const std::optional<FileText> text = FileTextOf(bytes, &problem);
  if (!text) {
    book.sections.clear();
    book.error = QStringLiteral("%1: %2").arg(path, problem);
    return book;
  }
  if (!text->assumed.isEmpty())
    book.warnings << QStringLiteral("%1: text without a CHARSET that is not UTF-8 read as %2 (detected)")
                         .arg(path, text->assumed);

  std::optional<int> begin;  // the BEGIN:VCARD line of the card being read
  std::vector<Line> card;
  bool outside = false;      // in a run of text outside the cards, already reported
  int agent = 0;             // depth inside a 2.1 AGENT's nested cards
  std::vector<Line> lines = UnfoldedLines(text->bytes);
  const bool foldBlanks = KeepsFoldBlanks(lines);
  for (Line& line : lines) {
    const QByteArray& first = line.pieces.front();
    if (line.pieces.size() == 1 && first.trimmed().isEmpty()) continue;
    // 2.1 writes an AGENT as "AGENT:" followed by a whole card; that card is part of its
    // parent, not a contact, and its END:VCARD does not end the parent.
    if (agent > 0) {
      if (IsMarker(first, "BEGIN:VCARD")) ++agent;
      else if (IsMarker(first, "END:VCARD")) --agent;
      continue;
    }
    if (begin && IsMarker(first, "BEGIN:VCARD") && !card.empty() && IsEmptyAgent(card.back())) {
      agent = 1;
      continue;
    }
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
      std::vector<std::pair<int, QString>> skipped;
      if (ReadCard(card, text->rules, foldBlanks, &read, &problem, &problemLine, &skipped)) keep(read);
      else warn(problemLine, QStringLiteral("card skipped: ") + problem);
      for (const auto& [number, reason] : skipped) warn(number, QStringLiteral("line skipped: ") + reason);
      begin.reset();
    } else {
      card.push_back(std::move(line));
    }
    outside = false;
  }
  if (begin) warn(*begin, QStringLiteral("card skipped: no END:VCARD"));
  return book;
}
