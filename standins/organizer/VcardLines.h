#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <climits>
#include <optional>
#include <vector>

// The lines, parameters and values of a vCard file, below the meaning of any property.
namespace vcard {

constexpr int kNotPreferred = INT_MAX;
constexpr QChar kParagraph = u'\r';  // the address book's paragraph break

// One property line as written: the file lines unfolded into it.
struct Line {
  int number = 0;                  // the file line it starts on, from 1
  std::vector<QByteArray> pieces;  // its first file line, then each folded one with its blank
  bool quotedPrintable = false, base64 = false;
};

// The file's lines, each with the lines that continue it; a UTF-8 byte-order mark at the
// start of a line is skipped. Lines end with CR LF or LF. A line starting with a blank or a tab
// continues the one before; a quoted-printable value ending in "=" goes on at the start
// of the next line unless that is a BEGIN:VCARD or END:VCARD line; a base64 value goes on
// over the lines without a colon that follow it.
std::vector<Line> UnfoldedLines(const QByteArray& bytes);

// The line as one text, with or without the blank that starts each folded line.
QByteArray Joined(const Line& line, bool keepBlank);

// Whether the 2.1 cards of a file keep the blank of a fold (VcardReader.h says why).
bool KeepsFoldBlanks(const std::vector<Line>& lines);

// Whether the text is the marker ("BEGIN:VCARD"), ignoring case and blanks around it.
bool IsMarker(const QByteArray& text, const char* marker);

struct Property {
  int line = 0;
  QByteArray group;                // lower-case, empty when none ("item1" of "item1.TEL")
  QByteArray name;                 // upper-case
  std::vector<QByteArray> types;   // lower-case
  int pref = kNotPreferred;        // lower is preferred
  QByteArray encoding, valueType;  // lower-case
  QByteArray charset;              // as written
  QByteArray value;                // as written

  bool Is(const char* type) const;
};

// "[group.]NAME[;param]...:value"; nothing when there is no colon before the value. TYPE
// values come from TYPE=a,b, repeated TYPE=, quoted lists and 2.1's bare parameters
// (WORK;FAX); a type "pref" or a PREF=n sets the preference. Names and parameter values
// ignore case, and a colon inside double quotes is part of its parameter.
std::optional<Property> ParseProperty(const QByteArray& text, int line);

// How the values of one file are read.
struct TextRules {
  // A value that declares no CHARSET and is not valid UTF-8 is read in this one.
  QByteArray undeclared = "windows-1252";
  // The whole file was converted to UTF-8 (it was UTF-16 or UTF-32): a value that is not
  // quoted-printable or base64 is UTF-8 whatever its CHARSET says.
  bool converted = false;
};

// A file's bytes made ready for the reader: text in UTF-16 or UTF-32 (told by its
// byte-order mark, or by the zero bytes around the "B" of a first "BEGIN") converted to
// UTF-8; an 8-bit file that is not UTF-8 left as it is, with the character set of the text
// that declares none detected (libuchardet) from its lines that are not UTF-8.
struct FileText {
  QByteArray bytes;
  TextRules rules;
  QString assumed;  // the character set assumed for undeclared text, when it had to be
};
// Nothing, with the reason in *problem, for bytes in an encoding it cannot read: zero bytes
// that are not UTF-16 or UTF-32, or a detected character set no converter knows.
std::optional<FileText> FileTextOf(QByteArray bytes, QString* problem);

// The value as text: quoted-printable or base64 undone, then read in its CHARSET, or
// without one as UTF-8, or in rules.undeclared where it is not valid UTF-8. Nothing, with
// the reason in *problem, for bad quoted-printable or an unknown CHARSET.
std::optional<QString> DecodedText(const Property& property, QString* problem, const TextRules& rules = {});

// The parts between the separators that no backslash escapes; the escapes stay in.
QStringList SplitUnescaped(const QString& text, QStringView separators);
// \n and \N a line break; \\ \, \; \: the character; any other backslash stays.
QString Unescaped(const QString& text);
// Line breaks as paragraph breaks (CR), blanks around each line and empty lines gone.
QString Cleaned(QString text);
// Part i of a structured value (split at ";"), unescaped and cleaned; with lists, its
// comma-separated values, otherwise the one value; empty ones left out.
QStringList Part(const QStringList& parts, qsizetype i, bool lists);

}  // namespace vcard
