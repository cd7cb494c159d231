#pragma once

#include "HeadlessOffice.h"
#include "WriterText.h"
#include "word/WordFixture.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

inline const QString kWriter = QStringLiteral(PENLARK_WRITER_BIN);
inline const QString kLetterOdt = QStringLiteral(PENLARK_TEST_DATA "/letter.odt");

// Every bookmark as "Name@paragraph:column" of its start, counted from 0, and "=text" when
// it spans text; in the order of their names.
inline QStringList BookmarkPlaces(const Reference<css::text::XTextDocument>& document) {
  const Reference<css::text::XBookmarksSupplier> supplier(document, UNO_QUERY_THROW);
  const Reference<css::container::XNameAccess> bookmarks = supplier->getBookmarks();
  QStringList places;
  for (const rtl::OUString& name : bookmarks->getElementNames()) {
    Reference<css::text::XTextContent> bookmark;
    bookmarks->getByName(name) >>= bookmark;
    const Reference<css::text::XTextRange> anchor = bookmark->getAnchor();
    const Reference<css::text::XTextCursor> before = document->getText()->createTextCursor();
    before->gotoStart(false);
    before->gotoRange(anchor->getStart(), true);
    const QString prefix = FromUno(before->getString());
    QString place = FromUno(name) + QStringLiteral("@%1:%2").arg(prefix.count(u'\n')).arg(prefix.size() - prefix.lastIndexOf(u'\n') - 1);
    if (const QString spanned = FromUno(anchor->getString()); !spanned.isEmpty()) place += u'=' + spanned;
    places << place;
  }
  places.sort();
  return places;
}

// `penlark-writer --setup` for the profile: the office started on it listens on description.
inline bool SetUpWithWriter(const QString& profile, const QString& description, QString* error) {
  QProcess setup;
  setup.start(kWriter, {QStringLiteral("--setup"), QStringLiteral("--profile"), profile, QStringLiteral("--connect"),
                        description});
  const bool done = setup.waitForFinished(10000) && setup.exitStatus() == QProcess::NormalExit && setup.exitCode() == 0;
  if (!done) *error = QStringLiteral("penlark-writer --setup failed: ") + QString::fromUtf8(setup.readAllStandardError());
  return done;
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
    if (!word) { ASSERT_NO_FATAL_FAILURE(StartWriter(*office)); }
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

  void StartWriter(const HeadlessOffice& on) {
    word = bus.Start(kWriter, {QStringLiteral("--connect"), on.Description()}, WindowClassName(QStringLiteral("OpusApp")));
    ASSERT_NE(word, nullptr) << bus.lastError().toStdString();
    pv.WordApp = GetRunningObject(QStringLiteral("Word.Application.8"), bus.connection());
    pv.WordVersion = QStringLiteral("8.0");
  }

  static inline std::unique_ptr<HeadlessOffice> office;
  Reference<css::text::XTextDocument> letter;
};
