#pragma once

#include "AddressBook.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <vector>

// What a vCard file gives the address book.
struct VcardBook {
  // The file's own section first, named after the file without its ".vcf", holding every
  // card read; then a section for each category the cards name, in the order the names
  // first appear (a category spelt like an earlier section, ignoring case, is that
  // section). A card is one record in each of its sections. Their indexes are left empty.
  std::vector<Section> sections;
  // "PATH: reason" when the file's encoding cannot be read; then there are no sections.
  QString error;
  // "PATH:LINE: reason", one for each card or line skipped and each run of text outside a
  // card.
  QStringList warnings;
};

// Reads the cards of a vCard file, versions 2.1, 3.0 and 4.0, into records by the mapping
// of the README's "vCard files" table. Fails as a whole only for a file in an encoding it
// cannot read (VcardLines.h, FileTextOf); a card it cannot read is skipped with a warning
// that names the line which spoils it, and the others are read.
//
// - UTF-8, UTF-16 and UTF-32 files are read (the wide ones by their byte-order mark). In an
//   8-bit file, text that declares no CHARSET and is not UTF-8 is read in the character set
//   detected for the file, which a warning names.
// - Lines end with CR LF or LF; a UTF-8 byte-order mark starting a line is skipped.
// - A line starting with a blank or a tab continues the line before: 3.0 and 4.0 drop that
//   blank. 2.1 folds only where the value has white space, so the blank is the value's own
//   and is kept; but some programs fold their 2.1 exports as 3.0 does, at a fixed width and
//   in the middle of words ("regi" / " on2"), inserting the blank. Such a writer cuts every
//   folded line at the same length, while one folding at white space cuts where the words
//   end. So a file's 2.1 folds drop the blank when every file line a fold cut (outside
//   quoted-printable and base64 values) has one length, in bytes or in characters, and
//   there are two or more such cuts or the one cut is at 75 or 76, the widths the later
//   versions fold at; otherwise the blank is kept. A quoted-printable value ending in "=" goes on at the start of the
//   next line, whatever that begins with, unless it is a BEGIN:VCARD or END:VCARD line.
// - Property and parameter names and parameter values ignore case; TYPE values come from
//   TYPE=a,b, repeated TYPE= or quoted lists, and from 2.1's bare parameters (WORK;FAX). A
//   group ("item1.TEL") is ignored, except that an X-ABLabel says what the X-ABRelatedNames
//   of its group holds.
// - Values are undone from quoted-printable or base64, then read in their CHARSET; without
//   one, as UTF-8, or in the file's detected character set where they are not valid UTF-8
//   (Windows-1252 when the detector cannot tell).
// - Backslash escapes: \n and \N a line break, \\ \, \; \: the character; any other
//   backslash stays. In 3.0 and 4.0 the parts of N and ADR are comma-separated lists.
// - Line breaks inside a field become paragraph breaks (CR); blanks around each line and
//   empty lines go.
// - A card is skipped when it has no END:VCARD (before the file ends or before the next
//   BEGIN:VCARD), or when its VERSION is not 2.1, 3.0 or 4.0 (a card naming none is read).
//   A line is skipped, and the rest of its card read, when it has no colon, or when a value
//   the mapping uses has bad quoted-printable or an unknown CHARSET.
VcardBook ReadVcards(const QByteArray& bytes, const QString& path);

// The same, reading the file a block at a time (twice: once for what the whole file tells,
// once for the cards), so a large book never needs its bytes in memory at once.
VcardBook ReadVcardFile(QIODevice& file, const QString& path);
