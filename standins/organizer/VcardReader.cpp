#include "VcardReader.h"

#include "VcardLines.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <map>
#include <unordered_map>
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

void SetOnce(QString* field, const QString& value) {
  if (field->isEmpty()) *field = value;
}

Contact ContactOf(const Property& p) {
  Contact contact;
  contact.pref = p.pref;
  bool work = false, mobile = false;
  for (const QByteArrayView type : p.types) {
    const auto is = [&](const char* lower) { return EqualsNoCase(type, lower); };
    if (is("home")) contact.home = true;
    else if (is("work")) work = true;
    else if (is("fax")) contact.fax = true;
    else if (is("cell") || is("mobile") || is("iphone") || is("pager") || is("car")) mobile = true;
  }
  contact.work = work || !contact.home;
  contact.rank = (work ? 0 : 1) + (mobile && !contact.fax ? 2 : 0);
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
  if (!text.contains(u'x', Qt::CaseInsensitive)) return {text, QString(), text};
  static const QRegularExpression extension(QStringLiteral(R"(\A(.*\d)[\s,]*(?:ext\.?|x)\s*(\d+)\z)"),
                                            QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = extension.match(text);
  if (match.hasMatch()) return {match.captured(1), match.captured(2), text};
  return {text, QString(), text};
}

enum class Kind { N, FN, Nickname, Org, Title, KindOf, ShowAs, Tel, Email, Adr, Categories, Label, RelatedNames,
                  Related, Assistant, Spouse, Unmapped };

// What the mapping does with a property, by its name in any case.
Kind KindOfName(QByteArrayView name) {
  struct Named {
    QByteArrayView name;  // upper-case
    Kind kind;
  };
  static const std::vector<Named> kinds = [] {
    std::vector<Named> all = {
        {"N", Kind::N}, {"FN", Kind::FN}, {"TEL", Kind::Tel}, {"ADR", Kind::Adr}, {"ORG", Kind::Org},
        {"EMAIL", Kind::Email}, {"TITLE", Kind::Title}, {"NICKNAME", Kind::Nickname}, {"KIND", Kind::KindOf},
        {"X-ABSHOWAS", Kind::ShowAs}, {"CATEGORIES", Kind::Categories}, {"X-ABLABEL", Kind::Label},
        {"X-ABRELATEDNAMES", Kind::RelatedNames}, {"RELATED", Kind::Related}};
    for (const char* n : kAssistantNames) all.push_back({n, Kind::Assistant});
    for (const char* n : kSpouseNames) all.push_back({n, Kind::Spouse});
    return all;
  }();
  for (const Named& named : kinds) {
    if (named.name.size() != name.size()) continue;
    qsizetype i = 0;
    while (i < name.size()) {
      const char c = name[i];
      if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != named.name[i]) break;
      ++i;
    }
    if (i == name.size()) return named.kind;
  }
  return Kind::Unmapped;
}

// Takes what the mapping uses from one property; false, with the reason, when a value it
// uses cannot be read.
bool Take(const Property& p, Kind kind, bool lists, const TextRules& rules, Card* card, QString* problem) {
  if (kind == Kind::Unmapped) return true;
  static QString decoded;  // reused: most values need no room of their own
  if (!DecodedText(p, &decoded, problem, rules)) return false;
  const bool structured = kind == Kind::N || kind == Kind::Org || kind == Kind::Adr;
  const QString text = structured ? QString() : CleanedValue(decoded);
  const Parts parts = structured ? SplitUnescaped(decoded, u";") : Parts();
  auto part = [&](qsizetype i, bool inLists) {
    QString joined;
    AppendPart(&joined, parts, i, inLists, u' ');
    return joined;
  };
  switch (kind) {
    case Kind::N:
      card->family = part(0, lists);
      card->given = part(1, lists);
      card->prefix = part(3, lists);
      card->named = !card->family.isEmpty() || !card->given.isEmpty();
      break;
    case Kind::FN: SetOnce(&card->fn, text); break;
    case Kind::Nickname:
      if (card->nickname.isEmpty()) card->nickname = CleanedValue(SplitUnescaped(decoded, u",")[0]);
      break;
    case Kind::Org: if (card->org.isEmpty()) card->org = part(0, false); break;
    case Kind::Title: SetOnce(&card->title, text); break;
    case Kind::KindOf: card->kind = text.toLower(); break;
    case Kind::ShowAs: card->showsCompany = text.compare(QLatin1String("COMPANY"), Qt::CaseInsensitive) == 0; break;
    case Kind::Tel: {
      Contact contact = ContactOf(p);
      contact.values = PhoneNumber(text);
      if (!contact.values[0].isEmpty()) card->phones.push_back(std::move(contact));
      break;
    }
    case Kind::Email: {
      Contact contact = ContactOf(p);
      contact.values = {text};
      if (!text.isEmpty()) card->emails.push_back(std::move(contact));
      break;
    }
    case Kind::Adr: {
      Contact contact = ContactOf(p);
      QString street;
      for (int i : {2, 1, 0}) AppendPart(&street, parts, i, lists, kParagraph);
      contact.values.reserve(5);
      contact.values << street;
      for (int i = 3; i <= 6; ++i) contact.values << part(i, lists);
      card->addresses.push_back(std::move(contact));
      break;
    }
    case Kind::Categories:
      for (const QStringView raw : SplitUnescaped(decoded, u",;")) {
        const QString name = CleanedValue(raw);
        if (!name.isEmpty() && !card->categories.contains(name, Qt::CaseInsensitive)) card->categories << name;
      }
      break;
    case Kind::Label: card->labels[p.group.toByteArray().toLower()] = text; break;
    case Kind::RelatedNames: card->relatedNames.emplace_back(p.group.toByteArray().toLower(), text); break;
    case Kind::Related:
      if (EqualsNoCase(p.valueType, "text") && p.Is("spouse")) SetOnce(&card->spouse, text);
      break;
    case Kind::Assistant: SetOnce(&card->assistant, text); break;
    case Kind::Spouse: SetOnce(&card->spouse, text); break;
    case Kind::Unmapped: break;
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

// The field id of an item named by a literal, looked up once per literal.
int IdOf(const char* item) {
  static std::unordered_map<const char*, int> ids;
  auto it = ids.find(item);
  if (it == ids.end()) it = ids.emplace(item, FieldIdOf(QLatin1String(item))).first;
  return it->second;
}

Record RecordOf(Card card) {
  std::vector<QString> fields(FieldItemNames().size());
  auto field = [&](const char* item) -> QString& { return fields[IdOf(item)]; };

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
  // Stable; by insertion, as a card has a handful of each.
  auto sort = [&](std::vector<Contact>& contacts) {
    for (size_t i = 1; i < contacts.size(); ++i)
      for (size_t j = i; j > 0 && byRank(contacts[j], contacts[j - 1]); --j) std::swap(contacts[j], contacts[j - 1]);
  };
  sort(card.addresses);
  sort(card.phones);
  sort(card.emails);
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

  std::vector<std::pair<int, QString>> filled;
  for (size_t id = 0; id < fields.size(); ++id)
    if (!fields[id].isEmpty()) filled.emplace_back(static_cast<int>(id), fields[id]);
  return Record(filled);
}

// The card between BEGIN:VCARD and END:VCARD; false with the reason and its line when it
// cannot be read as a whole. A line it cannot read is left out, with its line and reason in
// *skipped, and the rest of the card is read.
bool ReadCard(const std::vector<Line>& lines, const TextRules& rules, Card* card, QString* problem,
              int* problemLine, std::vector<std::pair<int, QString>>* skipped) {
  int version = 0;
  for (const Line& line : lines) {
    const QByteArrayView first = line.First();
    if (first.size() < 8 || qstrnicmp(first.data(), "VERSION:", 8) != 0) continue;
    const QByteArrayView number = first.sliced(8).trimmed();
    version = number == "2.1" ? 21 : number == "3.0" ? 30 : number == "4.0" ? 40 : -1;
    if (version < 0) {
      *problem = QStringLiteral("unknown vCard version \"%1\"").arg(QString::fromUtf8(number));
      *problemLine = line.number;
      return false;
    }
  }
  for (const Line& line : lines) {
    // Most properties are not mapped: only their colon is checked.
    const QByteArrayView first = line.First();
    qsizetype nameEnd = 0;
    while (nameEnd < first.size() && first[nameEnd] != ';' && first[nameEnd] != ':') ++nameEnd;
    QByteArrayView name = Trimmed(first.first(nameEnd));
    for (qsizetype i = name.size(); i-- > 0;) {
      if (name[i] == '.') {
        name = name.sliced(i + 1);
        break;
      }
    }
    const Kind kind = KindOfName(name);
    if (kind == Kind::Unmapped && (first.contains(':') || Joined(line, true).contains(':'))) continue;
    const bool folded = std::any_of(line.pieces.begin(), line.pieces.end(),
                                    [](const Piece& piece) { return piece.kind == Piece::Folded; });
    if (version == 21 && folded && rules.ruled) *rules.ruled = true;
    // The property's views point into the line, or into its joined text.
    const QByteArray joined =
        line.pieces.size() == 1 ? QByteArray() : Joined(line, version == 21 && rules.keepFoldBlanks);
    const std::optional<Property> property =
        ParseProperty(line.pieces.size() == 1 ? first : QByteArrayView(joined), line.number);
    QString reason;
    if (!property) skipped->emplace_back(line.number, QStringLiteral("a line without a colon"));
    else if (!Take(*property, line.pieces.size() == 1 ? kind : KindOfName(property->name), version != 21, rules, card, &reason)) skipped->emplace_back(line.number, reason);
  }
  return true;
}

bool IsEmptyAgent(const Line& line) {
  if (line.pieces.size() != 1) return false;
  const std::optional<Property> property = ParseProperty(line.First(), line.number);
  return property && property->name.compare("AGENT", Qt::CaseInsensitive) == 0 && property->value.trimmed().isEmpty();
}

// Reads the cards of whole lines handed to it in order, block by block.
class CardScanner {
 public:
  // evidence, when given, hears every line once, as its card is done.
  CardScanner(const QString& path, const TextRules& rules, FileEvidence* evidence)
      : CardScanner(path, rules) { evidence_ = evidence; }
  CardScanner(const QString& path, const TextRules& rules);
  void Assumed(const QString& charset) {
    book_.warnings << QStringLiteral("%1: text without a CHARSET that is not UTF-8 read as %2 (detected)")
                          .arg(path_, charset);
  }
  // Reads the cards that end in the bytes, whose first line is firstLine. Returns where
  // the card left unfinished starts, and its line, for the next block to begin with; at
  // the last block such a card is skipped with a warning.
  std::pair<qsizetype, int> Scan(QByteArrayView bytes, int firstLine, bool last);
  VcardBook Finish();

 private:
  void Warn(int line, const QString& reason);
  void Keep(Card card);

  TextRules rules_;
  QString path_;
  VcardBook book_;
  bool outside_ = false;  // in a run of text outside the cards, already reported
  std::vector<Line> card_;
  FileEvidence* evidence_ = nullptr;
};

CardScanner::CardScanner(const QString& path, const TextRules& rules) : rules_(rules), path_(path) {
  QString fileSection = QFileInfo(path).fileName();
  if (fileSection.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive)) fileSection.chop(4);
  book_.sections.emplace_back();
  book_.sections.front().name = fileSection;
}

void CardScanner::Warn(int line, const QString& reason) {
  book_.warnings << QStringLiteral("%1:%2: %3").arg(path_).arg(line).arg(reason);
}

void CardScanner::Keep(Card card) {
  const QStringList categories = card.categories;
  const Record record = RecordOf(std::move(card));
  std::vector<Section>& sections = book_.sections;
  sections.front().records.push_back(record);
  for (const QString& category : categories) {
    auto section = std::find_if(sections.begin(), sections.end(), [&](const Section& s) {
      return s.name.compare(category, Qt::CaseInsensitive) == 0;
    });
    if (section == sections.begin()) continue;
    if (section == sections.end()) {
      section = sections.emplace(sections.end());
      section->name = category;
    }
    section->records.push_back(record);
  }
}

std::pair<qsizetype, int> CardScanner::Scan(QByteArrayView bytes, int firstLine, bool last) {
  std::optional<int> begin;                        // the BEGIN:VCARD line of the card being read
  std::pair<qsizetype, int> cardStart{bytes.size(), 0};  // where it starts
  int agent = 0;                                   // depth inside a 2.1 AGENT's nested cards
  card_.clear();
  LineReader reader(bytes, firstLine);
  Line line;
  for (qsizetype at = 0; (at = reader.Offset()), reader.Next(&line);) {
    const QByteArrayView first = line.First();
    const QByteArrayView start = Trimmed(first);
    if (line.pieces.size() == 1 && start.isEmpty()) continue;
    const bool marker = !start.isEmpty() && (start[0] == 'B' || start[0] == 'b' || start[0] == 'E' || start[0] == 'e');
    const bool beginMarker = marker && IsMarker(start, "BEGIN:VCARD");
    const bool endMarker = marker && !beginMarker && IsMarker(start, "END:VCARD");
    // 2.1 writes an AGENT as "AGENT:" followed by a whole card; that card is part of its
    // parent, not a contact, and its END:VCARD does not end the parent.
    if (agent > 0) {
      if (beginMarker) ++agent;
      else if (endMarker) --agent;
      continue;
    }
    if (begin && beginMarker && !card_.empty() && IsEmptyAgent(card_.back())) {
      agent = 1;
      continue;
    }
    if (beginMarker) {
      if (begin)
        Warn(*begin, QStringLiteral("card skipped: no END:VCARD before the BEGIN:VCARD of line %1")
                         .arg(line.number));
      begin = line.number;
      cardStart = {at, line.number};
      card_.clear();
    } else if (!begin) {
      if (evidence_) evidence_->AddLine(line);
      if (!outside_) Warn(line.number, QStringLiteral("text outside a card ignored"));
      outside_ = true;
      continue;
    } else if (endMarker) {
      Card read;
      QString problem;
      int problemLine = *begin;
      std::vector<std::pair<int, QString>> skipped;
      if (evidence_)
        for (const Line& cardLine : card_) evidence_->AddLine(cardLine);
      if (ReadCard(card_, rules_, &read, &problem, &problemLine, &skipped)) Keep(std::move(read));
      else Warn(problemLine, QStringLiteral("card skipped: ") + problem);
      for (const auto& [number, reason] : skipped) Warn(number, QStringLiteral("line skipped: ") + reason);
      begin.reset();
      cardStart = {bytes.size(), 0};
    } else {
      card_.push_back(line);
    }
    outside_ = false;
  }
  card_.clear();
  if (!begin) return {bytes.size(), reader.Number()};
  if (last) {
    Warn(*begin, QStringLiteral("card skipped: no END:VCARD"));
    return {bytes.size(), reader.Number()};
  }
  return cardStart;
}

VcardBook CardScanner::Finish() { return std::move(book_); }

}  // namespace

VcardBook ReadVcards(const QByteArray& bytes, const QString& path) {
  QString problem;
  const std::optional<FileText> text = FileTextOf(bytes, &problem);
  if (!text) {
    VcardBook refused;
    refused.error = QStringLiteral("%1: %2").arg(path, problem);
    return refused;
  }
  CardScanner scanner(path, text->rules);
  if (!text->assumed.isEmpty()) scanner.Assumed(text->assumed);
  scanner.Scan(text->bytes, 1, true);
  return scanner.Finish();
}

VcardBook ReadVcardFile(QIODevice& file, const QString& path) {
  constexpr qsizetype kBlock = 1 << 20;
  // Reads the file in blocks of whole lines, handing each to use(block, at its end); the
  // part use leaves (an unfinished card) starts the next block.
  auto blocks = [&](const std::function<qsizetype(QByteArrayView, bool)>& use) {
    file.seek(0);
    QByteArray buffer;
    bool end = false;
    while (!end) {
      const QByteArray more = file.read(kBlock);
      end = more.isEmpty();
      buffer += more;
      const qsizetype cut = end ? buffer.size() : buffer.lastIndexOf('\n') + 1;
      if (cut == 0 && !end) continue;
      const qsizetype used = use(QByteArrayView(buffer).first(cut), end);
      buffer.remove(0, used);
    }
  };
  qsizetype markSize = 0;
  if (WideEncoding(file.peek(4), &markSize)) return ReadVcards(file.readAll(), path);
  // Read once with the usual rules while gathering what the whole file tells; read again
  // only when that changes the rules for something already read.
  FileEvidence evidence;
  bool ruled = false;
  TextRules usual;
  usual.ruled = &ruled;
  CardScanner scanner(path, usual, &evidence);
  int line = 1;
  blocks([&](QByteArrayView lines, bool last) {
    if (lines.contains('\0')) evidence.NoteZeros();
    const auto [used, next] = scanner.Scan(lines, line, last);
    line = next;
    return used;
  });
  QString problem, assumed;
  const std::optional<TextRules> rules = evidence.Rules(&problem, &assumed);
  if (!rules) {
    VcardBook refused;
    refused.error = QStringLiteral("%1: %2").arg(path, problem);
    return refused;
  }
  const bool same = rules->keepFoldBlanks == usual.keepFoldBlanks && rules->undeclared == usual.undeclared;
  if (!ruled || same) {
    VcardBook book = scanner.Finish();
    if (!assumed.isEmpty())
      book.warnings.prepend(QStringLiteral("%1: text without a CHARSET that is not UTF-8 read as %2 (detected)")
                                .arg(path, assumed));
    return book;
  }
  CardScanner again(path, *rules);
  if (!assumed.isEmpty()) again.Assumed(assumed);
  line = 1;
  blocks([&](QByteArrayView lines, bool last) {
    const auto [used, next] = again.Scan(lines, line, last);
    line = next;
    return used;
  });
  return again.Finish();
}
