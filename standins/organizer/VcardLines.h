#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <QVarLengthArray>

#include <climits>
#include <cstring>
#include <optional>
#include <vector>

// The lines, parameters and values of a vCard file, below the meaning of any property.
namespace vcard {

constexpr int kNotPreferred = INT_MAX;
constexpr QChar kParagraph = u'\r';  // the address book's paragraph break

// One file line of a property line, as written (its line end and a leading UTF-8 byte-order
// mark left out), and how it joins the one before.
struct Piece {
  enum Kind : char { First, Folded, SoftBreak, Glued };
  QByteArrayView text;
  Kind kind = First;
};

// One property line as written: the file lines unfolded into it. Its pieces point into the
// bytes it was read from.
struct Line {
  int number = 0;  // the file line it starts on, from 1
  QVarLengthArray<Piece, 2> pieces;
  bool quotedPrintable = false, base64 = false;
  QByteArrayView First() const { return pieces.front().text; }
};

// Reads the property lines of whole file lines one at a time. Lines end with CR LF or LF; a
// UTF-8 byte-order mark at the start of a line is skipped (also where files were put
// together). A line starting with a blank or a tab continues the one before (Folded); a
// quoted-printable value ending in "=" goes on at the start of the next line unless that is
// a BEGIN:VCARD or END:VCARD line (SoftBreak); a base64 value goes on over the lines without
// a colon that follow it (Glued).
class LineReader {
 public:
  LineReader(QByteArrayView bytes, int firstNumber = 1) : bytes_(bytes), number_(firstNumber) {}
  bool Next(Line* line);            // false at the end of the bytes
  qsizetype Offset() const { return at_; }  // where the next line starts
  int Number() const { return number_; }    // its file line number

 private:
  QByteArrayView Physical(qsizetype at, qsizetype* next);
  QByteArrayView bytes_;
  qsizetype peekedAt_ = -1, peekedNext_ = 0;  // the file line last looked at
  QByteArrayView peeked_;
  qsizetype at_ = 0;
  int number_;
};

// The line as one text, with or without the blank that starts each folded piece.
QByteArray Joined(const Line& line, bool keepBlank);

// Whether the text is the marker ("BEGIN:VCARD"), ignoring case and blanks around it.
bool IsMarker(QByteArrayView text, const char* marker);

// Whether every byte is ASCII; eight at a time.
inline bool IsAscii(QByteArrayView bytes) {
  const char* at = bytes.data();
  const char* const end = at + bytes.size();
  for (; end - at >= 8; at += 8) {
    quint64 word;
    std::memcpy(&word, at, 8);
    if (word & 0x8080808080808080ull) return false;
  }
  for (; at < end; ++at)
    if (static_cast<unsigned char>(*at) >= 0x80) return false;
  return true;
}

// QByteArrayView::trimmed, inline: most lines have nothing to trim.
inline QByteArrayView Trimmed(QByteArrayView text) {
  const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  qsizetype start = 0, end = text.size();
  while (start < end && blank(text[start])) ++start;
  while (end > start && blank(text[end - 1])) --end;
  return text.sliced(start, end - start);
}

// Whether the text is the lower-case one, ignoring case (ASCII only).
bool EqualsNoCase(QByteArrayView text, QByteArrayView lower);

// A property line's parts as views into the text it was parsed from, which must outlive it.
struct Property {
  int line = 0;
  QByteArrayView group;                       // as written, empty when none ("item1" of "item1.TEL")
  QByteArrayView name;                        // as written
  QVarLengthArray<QByteArrayView, 4> types;   // as written, without quotes
  int pref = kNotPreferred;                   // lower is preferred
  QByteArrayView encoding, valueType;         // as written, without quotes
  QByteArrayView charset;                     // as written
  QByteArrayView value;                       // as written

  bool Is(QByteArrayView type) const;         // type in lower case; ignores case
  bool EncodingIs(QByteArrayView lower) const { return EqualsNoCase(encoding, lower); }
};

// "[group.]NAME[;param]...:value"; nothing when there is no colon before the value. TYPE
// values come from TYPE=a,b, repeated TYPE=, quoted lists and 2.1's bare parameters
// (WORK;FAX); a type "pref" or a PREF=n sets the preference. Names and parameter values
// ignore case, and a colon inside double quotes is part of its parameter.
std::optional<Property> ParseProperty(QByteArrayView text, int line);

// How the values of one file are read.
struct TextRules {
  // A value that declares no CHARSET and is not valid UTF-8 is read in this one.
  QByteArray undeclared = "windows-1252";
  // The whole file was converted to UTF-8 (it was UTF-16 or UTF-32): a value that is not
  // quoted-printable or base64 is UTF-8 whatever its CHARSET says.
  bool converted = false;
  // Whether 2.1 folds keep their blank (VcardReader.h says when).
  bool keepFoldBlanks = true;
  // When given, set once a value was read by one of the rules above that the whole file
  // decides (undeclared 8-bit text, a 2.1 fold), so a reader that began with the defaults
  // knows whether it must read again.
  bool* ruled = nullptr;
};

// What a reader must know of a file before reading its cards, gathered over its whole lines
// (in pieces, for a file read piece by piece).
class FileEvidence {
 public:
  FileEvidence();
  ~FileEvidence();
  FileEvidence(const FileEvidence&) = delete;
  FileEvidence& operator=(const FileEvidence&) = delete;

  void Add(QByteArrayView lines);
  void AddLine(const Line& line);  // one line, once
  void NoteZeros() { zeros_ = true; }
  // The rules for reading the file; nothing, with the reason in *problem, for bytes in an
  // encoding it cannot read (zero bytes, or a detected character set no converter knows).
  // *assumed names the character set assumed for undeclared text, when it had to be.
  std::optional<TextRules> Rules(QString* problem, QString* assumed);

 private:
  struct Detector;
  Detector* detector_ = nullptr;  // libuchardet, fed the lines that need it
  bool zeros_ = false;
  bool c1_ = false;  // undeclared text holds bytes 0x80 to 0x9F
  // The lengths, in bytes and in UTF-8 characters, of the file lines a fold cut.
  std::optional<std::pair<qsizetype, qsizetype>> width_;
  bool sameWidth_ = true;
  int cuts_ = 0;
};

// The encoding of text in UTF-16 or UTF-32, told by its byte-order mark (its size in
// *markSize) or by the zero bytes around the "B" of a first "BEGIN"; nothing for other bytes.
std::optional<QStringConverter::Encoding> WideEncoding(QByteArrayView start, qsizetype* markSize);

// A whole file's bytes made ready for the reader: UTF-16 or UTF-32 converted to UTF-8, and
// the rules for reading it (FileEvidence); nothing, with the reason, as Rules says.
struct FileText {
  QByteArray bytes;
  TextRules rules;
  QString assumed;
};
std::optional<FileText> FileTextOf(QByteArray bytes, QString* problem);

// The value as text: quoted-printable or base64 undone, then read in its CHARSET, or
// without one as UTF-8, or in rules.undeclared where it is not valid UTF-8, into *text
// (whose room a plain ASCII value reuses). False, with the reason in *problem, for bad
// quoted-printable or an unknown CHARSET.
bool DecodedText(const Property& property, QString* text, QString* problem, const TextRules& rules = {});

// The parts between the separators that no backslash escapes, as views; the escapes stay in.
using Parts = QVarLengthArray<QStringView, 8>;
Parts SplitUnescaped(QStringView text, QStringView separators);
// \n and \N a line break; \\ \, \; \: the character; any other backslash stays.
QString Unescaped(QStringView text);
// Line breaks as paragraph breaks (CR), blanks around each line and empty lines gone.
QString Cleaned(QString text);
// Unescaped, then cleaned; without escapes or line breaks, only trimmed.
QString CleanedValue(QStringView raw);
// Appends to *to part i of a structured value (split at ";"), unescaped and cleaned; with
// lists, each of its comma-separated values, otherwise the one value; each after the joiner
// when *to is not empty, empty ones left out.
void AppendPart(QString* to, const Parts& parts, qsizetype i, bool lists, QChar joiner);

}  // namespace vcard
