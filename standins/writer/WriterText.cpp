#include "WriterText.h"

#include "WriterConnection.h"

#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

#include <QRegularExpression>

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

Reference<css::text::XTextViewCursor> ViewCursor(const Reference<css::text::XTextDocument>& document) {
  const Reference<css::text::XTextViewCursorSupplier> supplier(document->getCurrentController(),
                                                               UNO_QUERY_THROW);
  return supplier->getViewCursor();
}

Reference<css::text::XTextRange> Range(const Reference<css::text::XTextCursor>& cursor) {
  return Reference<css::text::XTextRange>(cursor.get());
}

}  // namespace

bool SelectBookmark(const Reference<css::text::XTextDocument>& document, const QString& name) {
  const Reference<css::text::XBookmarksSupplier> supplier(document, UNO_QUERY_THROW);
  const Reference<css::container::XNameAccess> bookmarks = supplier->getBookmarks();
  rtl::OUString found = ToUno(name);
  if (!bookmarks->hasByName(found)) {
    found.clear();
    for (const rtl::OUString& candidate : bookmarks->getElementNames())
      if (FromUno(candidate).compare(name, Qt::CaseInsensitive) == 0) {
        found = candidate;
        break;
      }
    if (found.isEmpty()) return false;
  }
  Reference<css::text::XTextContent> bookmark;
  bookmarks->getByName(found) >>= bookmark;
  const Reference<css::text::XTextRange> anchor = bookmark->getAnchor();
  const Reference<css::text::XTextViewCursor> cursor = ViewCursor(document);
  cursor->gotoRange(anchor->getStart(), false);
  cursor->gotoRange(anchor->getEnd(), true);
  return true;
}

void InsertAfterSelection(const Reference<css::text::XTextDocument>& document, const QString& text) {
  const Reference<css::text::XTextViewCursor> view = ViewCursor(document);
  const Reference<css::text::XText> body = view->getText();
  // Text inserted at a place moves the marks standing there, so where the selection was
  // collapsed its new start is taken from the first piece as it is absorbed.
  bool startFound = !view->isCollapsed();
  const Reference<css::text::XTextCursor> start = body->createTextCursorByRange(view->getStart());
  const Reference<css::text::XTextCursor> at = body->createTextCursorByRange(view->getEnd());
  const auto inserted = [&] {
    if (!startFound) start->gotoRange(at->getStart(), false);
    startFound = true;
    at->collapseToEnd();
  };
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  const QStringList paragraphs = text.split(breaks);
  for (qsizetype i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) {
      body->insertControlCharacter(Range(at), css::text::ControlCharacter::PARAGRAPH_BREAK, true);
      inserted();
    }
    if (!paragraphs[i].isEmpty()) {
      body->insertString(Range(at), ToUno(paragraphs[i]), true);
      inserted();
    }
  }
  view->gotoRange(Range(start), false);
  view->gotoRange(Range(at), true);
}

QString SelectionText(const Reference<css::text::XTextDocument>& document) {
  return FromUno(ViewCursor(document)->getString());
}

QString DocumentText(const Reference<css::text::XTextDocument>& document) {
  return FromUno(document->getText()->getString());
}
