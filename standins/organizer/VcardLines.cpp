#include "VcardLines.h"

#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <algorithm>

namespace vcard {

namespace {

QByteArrayView Unquoted(QByteArrayView text) {
  text = Trimmed(text);
  if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"')) text = text.sliced(1, text.size() - 2);
  return text;
}

// The parts between the separators outside double quotes, as views into the text.
QVarLengthArray<QByteArrayView, 8> SplitOutsideQuotes(QByteArrayView text, char separator) {
  QVarLengthArray<QByteArrayView, 8> parts;
  bool quoted = false;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    else if (text[i] == separator && !quoted) {
      parts.append(text.sliced(start, i - start));
      start = i + 1;
    }
  }
  parts.append(text.sliced(start));
  return parts;
}

void AddType(Property* p, QByteArrayView type) {
  if (EqualsNoCase(type, "pref")) p->pref = std::min(p->pref, 1);
  else if (!type.isEmpty()) p->types.append(type);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<QByteArray> FromQuotedPrintable(QByteArrayView text) {
  QByteArray bytes;
  bytes.reserve(text.size());
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

// Whether the text holds the upper-case needle at position i, ignoring case.
bool HoldsAt(QByteArrayView text, qsizetype i, QByteArrayView needle) {
  if (i + needle.size() > text.size()) return false;
  for (qsizetype j = 0; j < needle.size(); ++j) {
    const char c = text[i + j];
    if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != needle[j]) return false;
  }
  return true;
}

bool ContainsNoCase(QByteArrayView text, QByteArrayView needle) {
  for (qsizetype i = 0; i + needle.size() <= text.size(); ++i)
    if (HoldsAt(text, i, needle)) return true;
  return false;
}

}  // namespace

bool IsMarker(QByteArrayView text, const char* marker) {
  return Trimmed(text).compare(marker, Qt::CaseInsensitive) == 0;
}

QByteArrayView LineReader::Physical(qsizetype at, qsizetype* next) {
  if (at == peekedAt_) {
    *next = peekedNext_;
    return peeked_;
  }
  qsizetype end = bytes_.indexOf('\n', at);
  if (end < 0) end = bytes_.size();
  *next = std::min(end + 1, bytes_.size());
  QByteArrayView text = bytes_.sliced(at, end - at);
  if (text.endsWith('\r')) text.chop(1);
  if (text.startsWith("\xEF\xBB\xBF")) text = text.sliced(3);
  peekedAt_ = at;
  peekedNext_ = *next;
  peeked_ = text;
  return text;
}

bool LineReader::Next(Line* line) {
  if (at_ >= bytes_.size()) return false;
  qsizetype next = 0;
  const QByteArrayView text = Physical(at_, &next);
  line->number = number_++;
  line->pieces.clear();
  line->pieces.append({text, Piece::First});
  const qsizetype colon = text.indexOf(':');
  const QByteArrayView head = colon < 0 ? text : text.first(colon);
  line->quotedPrintable = line->base64 = false;
  if (head.contains(';')) {
    for (qsizetype i = 0; i < head.size(); ++i) {  // one pass, told by the first letters
      switch (head[i] | 0x20) {
        case 'q': line->quotedPrintable = line->quotedPrintable || HoldsAt(head, i, "QUOTED-PRINTABLE"); break;
        case 'b': line->base64 = line->base64 || HoldsAt(head, i, "BASE64"); break;
        case 'e': line->base64 = line->base64 || HoldsAt(head, i, "ENCODING=B"); break;
        default: break;
      }
    }
  }
  at_ = next;
  while (at_ < bytes_.size()) {
    const QByteArrayView following = Physical(at_, &next);
    Piece::Kind kind;
    // A soft break must not swallow the next card when a writer left a stray "=".
    if (line->quotedPrintable && line->pieces.back().text.endsWith('=') &&
        !IsMarker(following, "BEGIN:VCARD") && !IsMarker(following, "END:VCARD"))
      kind = Piece::SoftBreak;
    else if (line->base64 && !following.isEmpty() && !following.contains(':'))
      kind = Piece::Glued;  // 2.1 lets base64 go on unindented up to a blank line
    else if (following.startsWith(' ') || following.startsWith('\t'))
      kind = Piece::Folded;
    else
      break;
    line->pieces.append({following, kind});
    at_ = next;
    ++number_;
  }
  return true;
}

QByteArray Joined(const Line& line, bool keepBlank) {
  QByteArray text = line.First().toByteArray();
  for (qsizetype i = 1; i < line.pieces.size(); ++i) {
    const Piece& piece = line.pieces[i];
    if (piece.kind == Piece::SoftBreak) text.chop(1);
    text += piece.kind == Piece::Folded && !keepBlank ? piece.text.sliced(1) : piece.text;
  }
  return text;
}

bool EqualsNoCase(QByteArrayView text, QByteArrayView lower) {
  if (text.size() != lower.size()) return false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lower[i]) return false;
  }
  return true;
}

bool Property::Is(QByteArrayView type) const {
  return std::any_of(types.begin(), types.end(), [&](QByteArrayView t) { return EqualsNoCase(t, type); });
}

std::optional<Property> ParseProperty(QByteArrayView text, int line) {
  qsizetype colon = -1;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size() && colon < 0; ++i) {
    if (text[i] == '"') quoted = !quoted;
    else if (text[i] == ':' && !quoted) colon = i;
  }
  if (colon <= 0) return std::nullopt;
  Property p;
  p.line = line;
  p.value = text.sliced(colon + 1);
  const auto parts = SplitOutsideQuotes(text.first(colon), ';');
  const QByteArrayView name = Trimmed(parts.front());
  const qsizetype dot = name.lastIndexOf('.');
  if (dot > 0) p.group = name.first(dot);
  p.name = name.sliced(dot + 1);
  for (qsizetype i = 1; i < parts.size(); ++i) {
    const qsizetype equals = parts[i].indexOf('=');
    const QByteArrayView key = equals < 0 ? QByteArrayView() : Trimmed(parts[i].first(equals));
    const QByteArrayView value = Unquoted(parts[i].sliced(equals + 1));
    auto is = [&](const char* k) { return EqualsNoCase(key, QByteArrayView(k)); };
    auto valueIs = [&](const char* v) { return EqualsNoCase(value, QByteArrayView(v)); };
    if (key.isEmpty()) {  // 2.1's bare parameters
      if (valueIs("quoted-printable") || valueIs("base64") || valueIs("8bit") || valueIs("7bit"))
        p.encoding = value;
      else
        AddType(&p, value);
    } else if (is("type")) {
      for (const QByteArrayView type : SplitOutsideQuotes(value, ','))
        AddType(&p, Unquoted(type));
    } else if (is("pref")) {
      bool ok = false;
      const int pref = value.toInt(&ok);
      if (ok) p.pref = std::min(p.pref, pref);
    } else if (is("encoding")) {
      p.encoding = value;
    } else if (is("charset")) {
      p.charset = value;
    } else if (is("value")) {
      p.valueType = value;
    }
  }
  return p;
}

bool DecodedText(const Property& p, QString* text, QString* problem, const TextRules& rules) {
  const bool quotedPrintable = p.EncodingIs("quoted-printable");
  const bool base64 = p.EncodingIs("b") || p.EncodingIs("base64");
  const bool encoded = quotedPrintable || base64;
  const bool declared = !p.charset.isEmpty() && !(rules.converted && !encoded);
  const auto ascii = IsAscii;
  // Most values: neither encoded nor declared, and ASCII; the text's room is used again.
  if (!encoded && !declared && ascii(p.value)) {
    text->resize(p.value.size());
    QChar* out = text->data();
    for (qsizetype i = 0; i < p.value.size(); ++i) out[i] = QChar(static_cast<char16_t>(p.value[i]));
    return true;
  }
  QByteArray bytes;
  if (quotedPrintable) {
    std::optional<QByteArray> decoded = FromQuotedPrintable(p.value);
    if (!decoded) {
      *problem = QStringLiteral("bad quoted-printable in %1").arg(QString::fromLatin1(p.name.toByteArray().toUpper()));
      return false;
    }
    bytes = std::move(*decoded);
  } else if (base64) {
    bytes = QByteArray::fromBase64(p.value.toByteArray());
  } else {
    bytes = p.value.toByteArray();
  }
  if (declared) {
    const QByteArray charset = p.charset.toByteArray();
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid()) {
      *problem = QStringLiteral("unknown character set \"%1\"").arg(QString::fromLatin1(charset));
      return false;
    }
    *text = decoder(bytes);
    return true;
  }
  if (ascii(bytes)) {
    *text = QString::fromLatin1(bytes);
    return true;
  }
  QStringDecoder utf8(QStringConverter::Utf8);
  *text = utf8(bytes);
  if (!utf8.hasError()) return true;
  if (rules.ruled) *rules.ruled = true;
  QStringDecoder other(rules.undeclared.constData());
  *text = other.isValid() ? QString(other(bytes)) : QString::fromLatin1(bytes);
  return true;
}

namespace {

bool IsUtf8(QByteArrayView bytes) {
  if (IsAscii(bytes)) return true;
  QStringDecoder utf8(QStringConverter::Utf8);
  [[maybe_unused]] const QString text = utf8(bytes);
  return !utf8.hasError();
}

}  // namespace

struct FileEvidence::Detector {
  uchardet_t handle = uchardet_new();
  ~Detector() { uchardet_delete(handle); }
};

FileEvidence::FileEvidence() = default;
FileEvidence::~FileEvidence() { delete detector_; }

void FileEvidence::Add(QByteArrayView lines) {
  if (lines.contains('\0')) zeros_ = true;
  LineReader reader(lines);
  Line line;
  while (reader.Next(&line)) AddLine(line);
}

void FileEvidence::AddLine(const Line& line) {
  {
    // The lines that declare no character set and are not UTF-8 are what the detector
    // hears; declared values and ASCII would only dilute it.
    for (const Piece& piece : line.pieces) {
      if (IsUtf8(piece.text)) continue;
      const qsizetype colon = line.First().indexOf(':');
      if (colon >= 0 && ContainsNoCase(line.First().first(colon), "CHARSET=")) continue;
      if (!detector_) detector_ = new Detector;
      c1_ = c1_ || std::any_of(piece.text.begin(), piece.text.end(), [](char c) {
              return static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) < 0xA0;
            });
      uchardet_handle_data(detector_->handle, piece.text.data(), static_cast<size_t>(piece.text.size()));
      uchardet_handle_data(detector_->handle, "\n", 1);
    }
    if (line.quotedPrintable || line.base64) return;
    for (qsizetype i = 0; i + 1 < line.pieces.size(); ++i) {
      if (line.pieces[i + 1].kind != Piece::Folded) continue;
      const QByteArrayView cut = line.pieces[i].text;
      const qsizetype characters =
          cut.size() - std::count_if(cut.begin(), cut.end(), [](char c) { return (c & 0xC0) == 0x80; });
      if (!width_) width_ = std::pair{cut.size(), characters};
      else if (width_->first != cut.size() && width_->second != characters) sameWidth_ = false;
      ++cuts_;
    }
  }
}

std::optional<TextRules> FileEvidence::Rules(QString* problem, QString* assumed) {
  if (zeros_) {
    *problem = QStringLiteral("not text in an encoding this reader knows (UTF-8, UTF-16, UTF-32 or an "
                              "8-bit character set): it holds zero bytes");
    return std::nullopt;
  }
  TextRules rules;
  if (width_ && sameWidth_) {
    const auto [bytes, characters] = *width_;
    const bool standardWidth = bytes == 75 || bytes == 76 || characters == 75 || characters == 76;
    rules.keepFoldBlanks = !(cuts_ >= 2 || standardWidth);
  }
  if (!detector_) return rules;
  uchardet_data_end(detector_->handle);
  QByteArray charset = uchardet_get_charset(detector_->handle);
  if (charset.isEmpty() || charset == "ASCII" || charset == "UTF-8") charset = "WINDOWS-1252";
  // Bytes 0x80 to 0x9F are control codes in the ISO 8859 sets and letters in their Windows
  // supersets, which is what text holding them was written in.
  static const std::pair<const char*, const char*> supersets[] = {
      {"ISO-8859-1", "WINDOWS-1252"}, {"ISO-8859-2", "WINDOWS-1250"}, {"ISO-8859-7", "WINDOWS-1253"},
      {"ISO-8859-9", "WINDOWS-1254"}, {"ISO-8859-13", "WINDOWS-1257"}};
  for (const auto& [iso, windows] : supersets)
    if (c1_ && charset == iso) charset = windows;
  if (!QStringDecoder(charset.constData()).isValid()) {
    *problem = QStringLiteral("its text is in %1, which no converter here reads").arg(QString::fromLatin1(charset));
    return std::nullopt;
  }
  rules.undeclared = charset;
  *assumed = QString::fromLatin1(charset);
  return rules;
}

std::optional<QStringConverter::Encoding> WideEncoding(QByteArrayView b, qsizetype* markSize) {
  auto starts = [&](const char* prefix, qsizetype size) { return b.startsWith(QByteArrayView(prefix, size)); };
  *markSize = 4;
  if (starts("\xFF\xFE\0\0", 4)) return QStringConverter::Utf32LE;
  if (starts("\0\0\xFE\xFF", 4)) return QStringConverter::Utf32BE;
  *markSize = 2;
  if (starts("\xFF\xFE", 2)) return QStringConverter::Utf16LE;
  if (starts("\xFE\xFF", 2)) return QStringConverter::Utf16BE;
  *markSize = 0;
  if (starts("B\0\0\0", 4)) return QStringConverter::Utf32LE;
  if (starts("\0\0\0B", 4)) return QStringConverter::Utf32BE;
  if (starts("B\0", 2)) return QStringConverter::Utf16LE;
  if (starts("\0B", 2)) return QStringConverter::Utf16BE;
  return std::nullopt;
}

std::optional<FileText> FileTextOf(QByteArray bytes, QString* problem) {
  FileText text;
  qsizetype markSize = 0;
  const std::optional<QStringConverter::Encoding> wide = WideEncoding(bytes, &markSize);
  if (wide) {
    QStringDecoder decoder(*wide, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(QByteArrayView(bytes).sliced(markSize));
    if (decoder.hasError()) {
      *problem = QStringLiteral("the text is not valid %1").arg(QLatin1String(QStringConverter::nameForEncoding(*wide)));
      return std::nullopt;
    }
    bytes = decoded.toUtf8();
  }
  FileEvidence evidence;
  evidence.Add(bytes);
  const std::optional<TextRules> rules = evidence.Rules(problem, &text.assumed);
  if (!rules) return std::nullopt;
  text.rules = *rules;
  text.rules.converted = wide.has_value();
  text.bytes = std::move(bytes);
  return text;
}

Parts SplitUnescaped(QStringView text, QStringView separators) {
  const char16_t first = separators.isEmpty() ? 0 : separators[0].unicode();
  const char16_t second = separators.size() > 1 ? separators[1].unicode() : first;
  Parts parts;
  qsizetype start = 0;
  const QChar* chars = text.constData();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = chars[i].unicode();
    if (c == u'\\') {
      ++i;
    } else if (c == first || c == second) {
      parts.append(text.sliced(start, i - start));
      start = i + 1;
    }
  }
  parts.append(text.sliced(start));
  return parts;
}

QString Unescaped(QStringView text) {
  if (!text.contains(u'\\')) return text.toString();
  QString plain;
  plain.reserve(text.size());
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
  if (!text.contains(u'\n') && !text.contains(u'\r')) return text.trimmed();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QStringList lines;
  for (const QString& line : text.split(u'\n')) {
    const QString trimmed = line.trimmed();
    if (!trimmed.isEmpty()) lines << trimmed;
  }
  return lines.join(kParagraph);
}

namespace {

// QStringView::trimmed, inline: most values have nothing to trim.
QStringView TrimmedText(QStringView text) {
  qsizetype start = 0, end = text.size();
  while (start < end && text[start].isSpace()) ++start;
  while (end > start && text[end - 1].isSpace()) --end;
  return text.sliced(start, end - start);
}

}  // namespace

QString CleanedValue(QStringView raw) {
  for (const QChar c : raw)
    if (c == u'\\' || c == u'\n' || c == u'\r') return Cleaned(Unescaped(raw));
  return TrimmedText(raw).toString();
}

void AppendPart(QString* to, const Parts& parts, qsizetype i, bool lists, QChar joiner) {
  if (i >= parts.size()) return;
  auto append = [&](QStringView raw) {
    const bool plain = std::none_of(raw.begin(), raw.end(),
                                    [](QChar c) { return c == u'\\' || c == u'\n' || c == u'\r'; });
    const QString cleaned = plain ? QString() : CleanedValue(raw);
    const QStringView value = plain ? TrimmedText(raw) : QStringView(cleaned);
    if (value.isEmpty()) return;
    if (to->isEmpty()) {
      *to = value.toString();
      return;
    }
    *to += joiner;
    *to += value;
  };
  if (!lists || !parts[i].contains(u',')) {
    append(parts[i]);
    return;
  }
  for (const QStringView raw : SplitUnescaped(parts[i], u","))
    append(raw);
}

}  // namespace vcard
