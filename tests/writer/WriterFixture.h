#pragma once

#include "HeadlessOffice.h"
#include "WriterText.h"
#include "word/WordFixture.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

inline const QString kWriter = QStringLiteral(PENLARK_WRITER_BIN);
inline const QString kLetterOdt = QStringLiteral(PENLARK_TEST_DATA "/letter.odt");

// `penlark-writer --setup` for the profile: the office started on it listens on description.
inline bool SetUpWithWriter(const QString& profile, const QString& description, QString* error) {
  const QStringList arguments = {QStringLiteral("--setup"), QStringLiteral("--profile"), profile,
                                 QStringLiteral("--connect"), description};
  QString said;
  if (RunToEnd(kWriter, arguments, QProcessEnvironment::systemEnvironment(), &said) == 0) return true;
  *error = QStringLiteral("penlark-writer --setup failed: ") + said;
  return false;
}

// One headless office for each test suite, started as a person's own (set up by
// penlark-writer --setup, no --accept), the letter opened afresh in it for each test, and
// penlark-writer on the test's private bus, attached as start-up would.
class WriterFixture : public WordFixture {
 protected:
  static void SetUpTestSuite() { office = std::make_unique<HeadlessOffice>(SetUpWithWriter); }
  static void TearDownTestSuite() { office.reset(); }

  void SetUp() override {
    WordFixture::SetUp();
    ASSERT_TRUE(office->ok()) << office->error().toStdString();
    ASSERT_NO_FATAL_FAILURE(StartWord({kLetter}));
  }

  // In the office only `path` open, or nothing when it is empty.
  void OpenOnly(const QString& path) {
    office->CloseAll();
    letter.clear();
    if (!path.isEmpty()) letter = office->Open(path);
    ASSERT_EQ(letter.is(), !path.isEmpty());
  }
  // penlark-word's arguments for penlark-writer: letter.odt in place of the plain letter among
  // them, and penlark-writer started when it is not running.
  void StartWord(const QStringList& arguments, bool = true) override {
    ASSERT_NO_FATAL_FAILURE(OpenOnly(arguments.contains(kLetter) ? kLetterOdt : QString()));
    if (word) return;
    word = bus.Start(kWriter, {QStringLiteral("--connect"), office->Description()}, WindowClassName(QStringLiteral("OpusApp")));
    ASSERT_NE(word, nullptr) << bus.lastError().toStdString();
    pv.WordApp = GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
    pv.WordVersion = QStringLiteral("8.0");
  }
  int PrintText(QString* out, QString* err = nullptr) override {
    return bus.Run(kWriter, {QStringLiteral("--connect"), office->Description(), QStringLiteral("--print-text")}, out, err);
  }

  // The letter's paragraphs, each as "style|text".
  static QStringList StyledParagraphs(const Reference<css::text::XTextDocument>& document) {
    QStringList paragraphs;
    const Reference<css::container::XEnumerationAccess> access(document->getText(), UNO_QUERY_THROW);
    const Reference<css::container::XEnumeration> all = access->createEnumeration();
    while (all->hasMoreElements()) {
      const Reference<css::text::XTextRange> paragraph(all->nextElement(), UNO_QUERY);
      if (!paragraph.is()) continue;
      rtl::OUString style;
      Reference<css::beans::XPropertySet>(paragraph, UNO_QUERY_THROW)->getPropertyValue(rtl::OUString("ParaStyleName")) >>= style;
      paragraphs << FromUno(style) + u'|' + FromUno(paragraph->getString());
    }
    return paragraphs;
  }

  static inline std::unique_ptr<HeadlessOffice> office;
  Reference<css::text::XTextDocument> letter;
};
