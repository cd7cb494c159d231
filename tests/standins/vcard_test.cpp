#include "VcardReader.h"
#include "support/Shown.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Fields = std::map<std::string, std::string>;  // item name: value (UTF-8), blanks left out

std::vector<Fields> RecordsOf(const std::vector<Section>& sections, const QString& section) {
  std::vector<Fields> records;
  for (const Section& s : sections) {
    if (s.name != section) continue;
    for (const Record& record : s.records) {
      Fields& fields = records.emplace_back();
      for (const auto& [id, value] : record.Fields()) fields[FieldItemNames()[id].toStdString()] = value.toStdString();
    }
  }
  return records;
}

QByteArray Card(const QByteArray& lines, const char* version = "3.0") {
  return "BEGIN:VCARD\r\nVERSION:" + QByteArray(version) + "\r\n" + lines + "END:VCARD\r\n";
}

// Each vCard file against the data file of what its sections hold, section by section; the
// file's own section, named after it, is checked by name alone when the data file leaves it out.
TEST(VcardReaderTest, ExportsHoldWhatTheirDataFilesHold) {
  const QString vcard = QStringLiteral(PENLARK_TEST_DATA "/vcard/"), samples = PENLARK_TEST_DATA "/../../samples/";
  const std::pair<QString, QString> rows[] = {
      {vcard + "export-2.1.vcf", vcard + "export-2.1.json"},
      {vcard + "export-3.0.vcf", vcard + "export-3.0.json"},
      {vcard + "export-4.0.vcf", vcard + "export-4.0.json"},
      // A real export (SOURCES.md), and the same card as that program folds it in 2.1: mid-word,
      // the mobile number before the work one.
      {vcard + "evolution-3.0.vcf", vcard + "evolution.json"},
      {vcard + "evolution-2.1.vcf", vcard + "evolution.json"},
      // A card is in the file's section and in each of its categories, matched without case.
      {vcard + "Team.vcf", vcard + "Team.json"},
      // After a change to addresses.json, samples/addresses-to-vcf.py makes addresses.vcf again.
      {samples + "addresses.vcf", samples + "addresses.json"},
  };
  for (const auto& [vcf, json] : rows) {
    SCOPED_TRACE(vcf.toStdString());
    QString error;
    QStringList warnings, names, listed;
    const std::optional<DataFile> read = LoadDataFile(vcf, &error, &warnings), expected = LoadDataFile(json, &error);
    ASSERT_TRUE(read && expected) << error.toStdString();
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
    for (const Section& section : read->sections) names << section.name;
    for (const Section& section : expected->sections) {
      listed << section.name;
      EXPECT_EQ(RecordsOf(read->sections, section.name), RecordsOf(expected->sections, section.name))
          << section.name.toStdString();
    }
    if (const QString own = QFileInfo(vcf).completeBaseName(); !listed.contains(own)) listed.prepend(own);
    EXPECT_EQ(names, listed);
  }
}

// Folded as a 3.0 writer folds: every `width` characters, the blank inserted.
QByteArray FoldedAtWidth(const QString& line, qsizetype width = 75) {
  QByteArray folded = line.left(width).toUtf8();
  for (qsizetype at = width; at < line.size(); at += width - 1) folded += "\r\n " + line.mid(at, width - 1).toUtf8();
  return folded + "\r\n";
}

// Folded as the 2.1 text says: before the last blank that keeps a line within `width`.
QByteArray FoldedAtBlanks(QString line, qsizetype width = 75) {
  QByteArray folded;
  while (line.size() > width) {
    const qsizetype blank = line.lastIndexOf(u' ', width);
    folded += line.left(blank).toUtf8() + "\r\n";
    line = line.mid(blank);
  }
  return folded + line.toUtf8() + "\r\n";
}

// The text in a character set, a wide one with its byte-order mark unless told.
QByteArray Encoded(const QByteArray& utf8, const char* charset, bool mark = true) {
  QStringEncoder encoder(charset, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
  return encoder(QString::fromUtf8(utf8));
}

// 2.1 folds come from writers folding at white space and from writers folding mid-word at a
// fixed width (the README's rule tells them apart). A wide encoding is converted, an 8-bit one
// detected and named, one that cannot be read refused.
TEST(VcardReaderTest, LinesFoldsValuesParametersAndEncodings) {
  const QString adr = QStringLiteral("ADR;WORK:;;Unit 7 Canal Wharf Riverside Business Park Holbeck;Leeds;West Yorkshire region2;LS11 5PS");
  const QString note = QStringLiteral("NOTE:Some words to make a long line long enough to be folded at least once by a writer");
  const QString org = QStringLiteral("ORG:Übersee Handelsgesellschaft mbH & Co. KG Zweigniederlassung Köln-Süd Rheinhafen");
  const Fields address = {{"FirstName", "Ann"}, {"LastName", "Lee"},
                          {"Address", "Unit 7 Canal Wharf Riverside Business Park Holbeck"}, {"City", "Leeds"},
                          {"State", "West Yorkshire region2"}, {"Zip", "LS11 5PS"}};
  Fields withOrg = address;
  withOrg["Company"] = "Übersee Handelsgesellschaft mbH & Co. KG Zweigniederlassung Köln-Süd Rheinhafen";
  const QByteArray german = Card("N:Müller;Jürgen\r\nORG;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:K=C3=B6ln\r\n"
                                 "TITLE;CHARSET=ISO-8859-1:Grüße\r\n");
  const Fields germanFields = {{"LastName", "Müller"}, {"FirstName", "Jürgen"}, {"Company", "Köln"}, {"Position", "Grüße"}};
  const QByteArray polish = Card("N:Wiśniewski;Łukasz\r\nORG:Przedsiębiorstwo Żółć\r\nADR;WORK:;;ulica Świętokrzyska 12;Łódź\r\n", "2.1");
  const struct {
    QByteArray bytes;
    Fields record;
    const char* detected = nullptr;  // the character set a warning names
  } rows[] = {
      {"\xEF\xBB\xBF" + Card("FN:Ann Lee\r\n"), {{"FirstName", "Ann"}, {"LastName", "Lee"}}},
      {Card("N:Le\r\n e;An\r\n\tn;;;\r\n"), {{"FirstName", "Ann"}, {"LastName", "Lee"}}},
      {Card("N:Lee;Ann\nORG:Brown\\, Black \\; Co\\:\\x;Sales\nADR:;;1 Mill Lane\\nFloor 2,Back\\, Left;;\n"),
       {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Company", "Brown, Black ; Co:\\x"},
        {"Address", "1 Mill Lane\rFloor 2\rBack, Left"}}},
      {Card("N:Lee;Ann\r\nADR;WORK:;;1 Mill Lane, Floor 2;Leeds\r\n", "2.1"),
       {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Address", "1 Mill Lane, Floor 2"}, {"City", "Leeds"}}},
      {Card("item1.N:Lee;Ann\r\ntel;type=home;TYPE=fax:1\r\nTel;Type=Home,Voice:2\r\n"
            "ITEM2.email;type=\"home\":a@b.example\r\nEMAIL:c@d.example\r\nTEL;TYPE=work:3\r\nTEL:4\r\nTEL:5\r\n"),
       {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Home-Fax", "1"}, {"Home-Phone", "2"},
        {"Home-Email", "a@b.example"}, {"E-mail", "c@d.example"}, {"Phone", "3"}, {"Business Tel2", "4"}}},
      {Card("N:Lee;Ann\r\nTEL;TYPE=work:0113 496 0000 ext. 12\r\nTEL;TYPE=work:0113 496 0001 x13\r\n"
            "TEL;TYPE=home:01943 000 111, Ext 4\r\nTEL;TYPE=work,fax:tel:+44-113-496-0002;ext=5\r\n"),
       {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Phone", "0113 496 0000"}, {"Extn", "12"},
        {"Business Tel2", "0113 496 0001 x13"}, {"Home-Phone", "01943 000 111"}, {"Home-Extn", "4"},
        {"Fax", "+44-113-496-0002 ext. 5"}}},
      {Card("FN:Lee\\, Ms Ann\r\nADR;TYPE=home,work:;;1 Mill Lane;;;;\r\n"),
       {{"Title", "Ms"}, {"FirstName", "Ann"}, {"LastName", "Lee"}, {"Address", "1 Mill Lane"},
        {"Home-Address", "1 Mill Lane"}}},
      {Card("N:;;;Dr;\r\nFN:Ottoline\r\nORG:Acme Ltd\r\n"), {{"Title", "Dr"}, {"LastName", "Ottoline"}, {"Company", "Acme Ltd"}}},
      {Card("FN:Acme Ltd\r\nORG:acme ltd;Sales\r\n"), {{"Company", "acme ltd"}}},
      {Card("N:Lee;Ann\r\nADR:;;111 Main St;Leeds\r\nADR;TYPE=work:;;113 Main St;York\r\nEMAIL:a@home.example\r\n"
            "EMAIL;TYPE=internet,work:a@work.example\r\nTEL;TYPE=cell:07700\r\nTEL:0113\r\nTEL;TYPE=work,voice:0114\r\n"),
       {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Address", "113 Main St"}, {"City", "York"},
        {"E-mail", "a@work.example"}, {"Phone", "0114"}, {"Business Tel2", "0113"}}},
      {Card("N:Lee;Ann\r\nTEL;CELL:07700\r\nTEL;HOME:01943\r\n", "2.1"),
       {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Phone", "07700"}, {"Home-Phone", "01943"}}},
      {Card("N:;Bob;;;\r\nFN:Bob\r\n"), {{"LastName", "Bob"}}},
      {Card("NICKNAME:Bobby,Rob\r\nEMAIL:b@example.org\r\n", "4.0"), {{"LastName", "Bobby"}, {"E-mail", "b@example.org"}}},
      {Card("N:Lee;Ann\r\nAGENT:\r\n" + Card("N:Hale;Tom\r\nAGENT:\r\n" + Card("N:Deep;Di\r\n", "2.1") +
                                              "TEL:2\r\n", "2.1") + "TEL;WORK:1\r\n", "2.1"),
       {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Phone", "1"}}},
      {Card("N:Lee;Ann\r\n" + FoldedAtWidth(adr), "2.1"), address},
      {Card("N:Lee;Ann\r\n" + FoldedAtWidth(adr, 60) + FoldedAtWidth(org, 60), "2.1"), withOrg},
      {Card("N:Lee;Ann\r\n" + FoldedAtBlanks(adr) + FoldedAtBlanks(note), "2.1"), address},
      {Card("N:Lee;Ann\r\n" + FoldedAtBlanks(adr), "2.1"), address},
      {Encoded(german, "UTF-16LE"), germanFields},
      {Encoded(german, "UTF-16BE"), germanFields},
      {Encoded(german, "UTF-16LE", false), germanFields},
      {Encoded(german, "UTF-32LE"), germanFields},
      {Card("N:Lee;Ann\r\nTITLE:Gr\xFC\xDF" "e\r\n", "2.1"), {{"LastName", "Lee"}, {"FirstName", "Ann"}, {"Position", "Grüße"}},
       "ISO-8859-1"},
      {Encoded(polish, "windows-1250"), {{"LastName", "Wiśniewski"}, {"FirstName", "Łukasz"}, {"Company", "Przedsiębiorstwo Żółć"},
                                         {"Address", "ulica Świętokrzyska 12"}, {"City", "Łódź"}}, "WINDOWS-1250"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bytes.toStdString());
    const VcardBook book = ReadVcards(row.bytes, QStringLiteral("book.vcf"));
    EXPECT_EQ(book.error, QString());
    EXPECT_EQ(book.warnings, row.detected ? QStringList{QStringLiteral("book.vcf: text without a CHARSET that is not "
                                                                       "UTF-8 read as %1 (detected)").arg(row.detected)}
                                          : QStringList());
    EXPECT_EQ(RecordsOf(book.sections, QStringLiteral("book")), std::vector<Fields>{row.record});
  }
  EXPECT_EQ(ReadVcards(QByteArray::fromHex("1f8b0800000000000003") + german, QStringLiteral("book.vcf")).error,
            QStringLiteral("book.vcf: not text in an encoding this reader knows (UTF-8, UTF-16, UTF-32 or an 8-bit "
                           "character set): it holds zero bytes"));
}

// A file is read a block at a time, with the rules its whole text decides: the same as
// reading its bytes at once, where cards, folds and quoted-printable cross the blocks.
TEST(VcardReaderTest, AFileReadInBlocksGivesWhatItsBytesGive) {
  QByteArray plain, ruled;
  for (int i = 0; i < 9000; ++i) {
    const QByteArray n = QByteArray::number(i);
    plain += Card("N:Lee" + n + ";Ann\r\nORG:Acme\r\n Ltd\r\nNOTE;ENCODING=QUOTED-PRINTABLE:a=\r\nb\r\n"
                  "TEL;WORK:0113 " + n + "\r\nCATEGORIES:C" + QByteArray::number(i % 3) + "\r\n");
    ruled += Card("N:M\xFCller" + n + ";J\xFCrgen\r\n" + FoldedAtWidth(QStringLiteral(
                      "ADR;WORK:;;Unit 7 Canal Wharf Riverside Business Park Holbeck;Leeds;West Yorkshire;") +
                      QString::number(i)), "2.1");
  }
  QTemporaryDir dir;
  ASSERT_GT(plain.size(), 1 << 20);
  ASSERT_GT(ruled.size(), 1 << 20);
  const QString path = dir.filePath(QStringLiteral("big.vcf"));
  for (const QByteArray& bytes : {plain, ruled, plain + "BEGIN:VCARD\r\nFN:Unended\r\n", plain + '\0'}) {
    ASSERT_TRUE(PutBytes(path, bytes));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const VcardBook inBlocks = ReadVcardFile(file, path);
    const VcardBook atOnce = ReadVcards(bytes, path);
    EXPECT_EQ(inBlocks.error, atOnce.error);
    EXPECT_EQ(inBlocks.warnings, atOnce.warnings);
    ASSERT_EQ(inBlocks.sections.size(), atOnce.sections.size());
    for (const Section& section : atOnce.sections) {
      SCOPED_TRACE(section.name.toStdString());
      EXPECT_EQ(RecordsOf(inBlocks.sections, section.name), RecordsOf(atOnce.sections, section.name));
    }
  }
  EXPECT_EQ(RecordsOf(ReadVcards(ruled, QStringLiteral("r.vcf")).sections, QStringLiteral("r"))[5],
            (Fields{{"LastName", "Müller5"}, {"FirstName", "Jürgen"}, {"Address", "Unit 7 Canal Wharf Riverside Business Park Holbeck"},
                    {"City", "Leeds"}, {"State", "West Yorkshire"}, {"Zip", "5"}}));
}

// A card that cannot be read is skipped; a line that cannot be read only that line.
TEST(VcardReaderTest, WhatCannotBeReadIsSkippedWithAWarningAndTheRestIsRead) {
  const QByteArray file = "stray text\r\nmore of it\r\n" +                 // 1, 2
                          Card("FN:Ann Good\r\n") +                        // 3-6
                          Card("FN:Bob Colon\r\nTEL work 0113\r\n") +      // 7-11
                          Card("FN:Cy Printable\r\nTEL;ENCODING=QUOTED-PRINTABLE:01=G3\r\n", "2.1") +  // 12-16
                          Card("FN:Di Charset\r\nTEL;CHARSET=X-NONE:1\r\nNOTE;CHARSET=X-NONE:ignored\r\n") +  // 17-22
                          Card("FN:Ed Version\r\n", "5.0") +               // 23-26
                          "BEGIN:VCARD\r\nFN:Flo Unended\r\n" +            // 27, 28
                          "\xEF\xBB\xBF" + Card("FN:Gil Good\r\nNOTE;CHARSET=X-NONE:ignored\r\n") +  // 29-33
                          "END:VCARD\r\nBEGIN:VCARD\r\nFN:Hal Unended\r\n";         // 34-36
  const VcardBook book = ReadVcards(file, QStringLiteral("dir/book.vcf"));
  EXPECT_EQ(book.warnings, (QStringList{
      "dir/book.vcf:1: text outside a card ignored",
      "dir/book.vcf:10: line skipped: a line without a colon",
      "dir/book.vcf:15: line skipped: bad quoted-printable in TEL",
      "dir/book.vcf:20: line skipped: unknown character set \"X-NONE\"",
      "dir/book.vcf:24: card skipped: unknown vCard version \"5.0\"",
      "dir/book.vcf:27: card skipped: no END:VCARD before the BEGIN:VCARD of line 29",
      "dir/book.vcf:34: text outside a card ignored",
      "dir/book.vcf:35: card skipped: no END:VCARD"}));
  EXPECT_EQ(RecordsOf(book.sections, QStringLiteral("book")),
            (std::vector<Fields>{{{"FirstName", "Ann"}, {"LastName", "Good"}},
                                 {{"FirstName", "Bob"}, {"LastName", "Colon"}},
                                 {{"FirstName", "Cy"}, {"LastName", "Printable"}},
                                 {{"FirstName", "Di"}, {"LastName", "Charset"}},
                                 {{"FirstName", "Gil"}, {"LastName", "Good"}}}));
}

}  // namespace
