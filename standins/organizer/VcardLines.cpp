#include "VcardLines.h"

#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <algorithm>

namespace vcard {

namespace {

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

void AddType(Property* p, const QByteArray& type) {
  if (type == "pref") p->pref = std::min(p->pref, 1);
  else if (!type.isEmpty()) p->types.push_back(type);
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

}  // namespace

bool IsMarker(const QByteArray& text, const char* marker) {
  return text.trimmed().compare(marker, Qt::CaseInsensitive) == 0;
}

std::vector<Line> UnfoldedLines(const QByteArray& bytes) {
  std::vector<Line> lines;
  int number = 0;
  for (qsizetype start = 0; start < bytes.size();) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    QByteArray text = bytes.mid(start, end - start);
    if (text.endsWith('\r')) text.chop(1);
    if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);  // also where files were put together
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

bool KeepsFoldBlanks(const std::vector<Line>& lines) {
  // The lengths, in bytes and in UTF-8 characters, of the file lines a fold cut.
  std::optional<std::pair<qsizetype, qsizetype>> width;
  bool same = true;
  int cuts = 0;
  for (const Line& line : lines) {
    if (line.quotedPrintable || line.base64) continue;
    for (size_t i = 0; i + 1 < line.pieces.size(); ++i) {
      const QByteArray& cut = line.pieces[i];
      const qsizetype characters =
          cut.size() - std::count_if(cut.begin(), cut.end(), [](char c) { return (c & 0xC0) == 0x80; });
      if (!width) width = std::pair{cut.size(), characters};
      else if (width->first != cut.size() && width->second != characters) same = false;
      ++cuts;
    }
  }
  if (!width || !same) return true;
  const bool standardWidth = width->first == 75 || width->first == 76 || width->second == 75 || width->second == 76;
  return !(cuts >= 2 || standardWidth);
}

bool Property::Is(const char* type) const {
  return std::find(types.begin(), types.end(), type) != types.end();
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
        AddType(&p, value);
    } else if (key == "TYPE") {
      for (const QByteArray& type : value.split(',')) AddType(&p, Unquoted(type));
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

std::optional<QString> DecodedText(const Property& p, QString* problem, const TextRules& rules) {
  QByteArray bytes = p.value;
  bool encoded = true;
  if (p.encoding == "quoted-printable") {
    std::optional<QByteArray> decoded = FromQuotedPrintable(bytes);
    if (!decoded) {
      *problem = QStringLiteral("bad quoted-printable in %1").arg(QString::fromLatin1(p.name));
      return std::nullopt;
    }
    bytes = *decoded;
  } else if (p.encoding == "b" || p.encoding == "base64") {
    bytes = QByteArray::fromBase64(bytes);
  } else {
    encoded = false;
  }
  if (!p.charset.isEmpty() && !(rules.converted && !encoded)) {
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
  QStringDecoder other(rules.undeclared.constData());
  return other.isValid() ? QString(other(bytes)) : QString::fromLatin1(bytes);
}

namespace {

bool HasHighBytes(QByteArrayView bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool IsUtf8(QByteArrayView bytes) {
  if (!HasHighBytes(bytes)) return true;
  QStringDecoder utf8(QStringConverter::Utf8);
  [[maybe_unused]] const QString text = utf8(bytes);
  return !utf8.hasError();
}

// The wide encoding the bytes start in, by byte-order mark or by the zero bytes of a first
// "B"; nothing for bytes that start in neither.
std::optional<QStringConverter::Encoding> WideEncoding(const QByteArray& b, qsizetype* markSize) {
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

}  // namespace

std::optional<FileText> FileTextOf(QByteArray bytes, QString* problem) {
  FileText text;
  qsizetype markSize = 0;
  if (const std::optional<QStringConverter::Encoding> wide = WideEncoding(bytes, &markSize)) {
    QStringDecoder decoder(*wide, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(QByteArrayView(bytes).sliced(markSize));
    if (decoder.hasError()) {
      *problem = QStringLiteral("the text is not valid %1").arg(QLatin1String(QStringConverter::nameForEncoding(*wide)));
      return std::nullopt;
    }
    text.bytes = decoded.toUtf8();
    text.rules.converted = true;
    return text;
  }
  if (bytes.contains('\0')) {
    *problem = QStringLiteral("not text in an encoding this reader knows (UTF-8, UTF-16, UTF-32 or an "
                              "8-bit character set): it holds zero bytes");
    return std::nullopt;
  }
  // The lines that declare no character set and are not UTF-8 are what the detector hears;
  // declared values and ASCII would only dilute it.
  uchardet_t detector = nullptr;
  for (qsizetype start = 0; start < bytes.size();) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start);
    start = end + 1;
    if (IsUtf8(line)) continue;
    const qsizetype colon = line.indexOf(':');
    if (colon >= 0 && line.first(colon).toByteArray().toUpper().contains("CHARSET=")) continue;
    if (!detector) detector = uchardet_new();
    uchardet_handle_data(detector, line.data(), static_cast<size_t>(line.size()));
    uchardet_handle_data(detector, "\n", 1);
  }
  text.bytes = std::move(bytes);
  if (!detector) return text;
  uchardet_data_end(detector);
  QByteArray charset = uchardet_get_charset(detector);
  uchardet_delete(detector);
  if (charset.isEmpty() || charset == "ASCII" || charset == "UTF-8") charset = "WINDOWS-1252";
  if (!QStringDecoder(charset.constData()).isValid()) {
    *problem = QStringLiteral("its text is in %1, which no converter here reads").arg(QString::fromLatin1(charset));
    return std::nullopt;
  }
  text.rules.undeclared = charset;
  text.assumed = QString::fromLatin1(charset);
  return text;
}

QStringList SplitUnescaped(const QString& text, QStringView separators) {
  QStringList parts;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\') {
      ++i;
    } else if (separators.contains(text[i])) {
      parts << text.mid(start, i - start);
      start = i + 1;
    }
  }
  parts << text.mid(start);
  return parts;
}

QString Unescaped(const QString& text) {
  if (!text.contains(u'\\')) return text;
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
  if (!text.contains(u'\n') && !text.contains(u'\r')) return text.trimmed();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QStringList lines;
  for (const QString& line : text.split(u'\n')) {
    const QString trimmed = line.trimmed();
    if (!trimmed.isEmpty()) lines << trimmed;
  }
  return lines.join(kParagraph);
}

QStringList Part(const QStringList& parts, qsizetype i, bool lists) {
  QStringList values;
  if (i >= parts.size()) return values;
  for (const QString& raw : lists ? SplitUnescaped(parts[i], u",") : QStringList{parts[i]}) {
    const QString value = Cleaned(Unescaped(raw));
    if (!value.isEmpty()) values << value;
  }
  return values;
}

}  // namespace vcard
