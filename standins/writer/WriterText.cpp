#include "WriterText.h"

#include "WriterConnection.h"

#include <com/sun/star/container/NoSuchElementException.hpp>
#include <com/sun/star/container/XContentEnumerationAccess.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/style/XStyle.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextFramesSupplier.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

#include <QRegularExpression>

#include <map>
#include <utility>

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

const rtl::OUString kParaStyle("ParaStyleName");

Reference<css::text::XTextRange> Range(const Reference<css::text::XTextCursor>& cursor) {
  return Reference<css::text::XTextRange>(cursor.get());
}

}  // namespace

const Reference<css::text::XTextViewCursor>& LetterEditing::View() {
  if (!handles_.view.is()) {
    const Reference<css::text::XTextViewCursorSupplier> supplier(handles_.document->getCurrentController(),
                                                                 UNO_QUERY_THROW);
    handles_.view = supplier->getViewCursor();
  }
  return handles_.view;
}

bool LetterEditing::GoToBookmark(const QString& name) {
  goneTo_.insert(name.toCaseFolded());
  if (!handles_.bookmarks.is())
    handles_.bookmarks = Reference<css::text::XBookmarksSupplier>(handles_.document, UNO_QUERY_THROW)->getBookmarks();
  const Reference<css::container::XNameAccess>& bookmarks = handles_.bookmarks;
  // The exact name first: one round trip where the whole list would cost many.
  css::uno::Any found;
  try {
    found = bookmarks->getByName(ToUno(name));
  } catch (const css::container::NoSuchElementException&) {
    for (const rtl::OUString& candidate : bookmarks->getElementNames())
      if (FromUno(candidate).compare(name, Qt::CaseInsensitive) == 0) {
        found = bookmarks->getByName(candidate);
        break;
      }
    if (!found.hasValue()) return false;
  }
  Reference<css::text::XTextContent> bookmark;
  found >>= bookmark;
  const Reference<css::text::XTextRange> anchor = bookmark->getAnchor();
  // Text inserted where a range starts goes after that start, so the anchor keeps the
  // selection's start while the cursor moves on with each insertion. Most bookmarks are in
  // the body; the others' own text is a frame's, a table cell's or a header's.
  const Reference<css::text::XTextRange> end = anchor->getEnd();
  if (!handles_.body.is()) handles_.body = handles_.document->getText();
  try {
    end_ = handles_.body->createTextCursorByRange(end);
    text_ = handles_.body;
  } catch (const css::lang::DisposedException&) {
    throw;
  } catch (const css::uno::RuntimeException&) {
    text_ = anchor->getText();
    end_ = text_->createTextCursorByRange(end);
  }
  start_ = anchor;
  endProperties_.clear();
  style_.clear();
  restyle_ = false;
  return true;
}

void LetterEditing::TakeViewSelection() {
  const Reference<css::text::XTextViewCursor>& view = View();
  text_ = view->getText();
  start_ = view->getStart();
  end_ = text_->createTextCursorByRange(view->getEnd());
  endProperties_.clear();
  style_.clear();
  restyle_ = false;
}

void LetterEditing::InsertAfter(const QString& text) {
  if (!end_.is()) TakeViewSelection();
  if (text.isEmpty()) return;
  if (!undoOpen_) {
    if (!handles_.undo.is())
      handles_.undo = Reference<css::document::XUndoManagerSupplier>(handles_.document, UNO_QUERY_THROW)->getUndoManager();
    handles_.undo->enterUndoContext(rtl::OUString("Insert address"));
    undoOpen_ = true;
    handles_.document->lockControllers();
    locked_ = true;
  }
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  const QStringList paragraphs = text.split(breaks);
  if (paragraphs.size() > 1 && !endProperties_.is()) {
    endProperties_.set(end_, UNO_QUERY_THROW);
    endProperties_->getPropertyValue(kParaStyle) >>= style_;
    restyle_ = !style_.isEmpty() && NextStyleDiffers(style_);
  }
  // Writer makes a CR in inserted text a paragraph break. Where the paragraphs it makes take
  // the next style, the text goes in one piece for each break, each new paragraph set back
  // to the style as it is made.
  if (!restyle_) {
    text_->insertString(Range(end_), ToUno(paragraphs.join(u'\r')), false);
    return;
  }
  for (qsizetype i = 0; i < paragraphs.size(); ++i) {
    const bool last = i + 1 == paragraphs.size();
    const QString piece = last ? paragraphs[i] : paragraphs[i] + u'\r';
    if (piece.isEmpty()) continue;
    text_->insertString(Range(end_), ToUno(piece), false);
    if (!last) endProperties_->setPropertyValue(kParaStyle, css::uno::Any(style_));
  }
}

bool LetterEditing::NextStyleDiffers(const rtl::OUString& style) {
  if (const auto known = handles_.nextStyleDiffers.find(style); known != handles_.nextStyleDiffers.end())
    return known->second;
  if (!handles_.paragraphStyles.is()) {
    const Reference<css::style::XStyleFamiliesSupplier> supplier(handles_.document, UNO_QUERY_THROW);
    supplier->getStyleFamilies()->getByName(rtl::OUString("ParagraphStyles")) >>= handles_.paragraphStyles;
  }
  // A style the office cannot tell about is set after every break, as one that differs.
  bool differs = true;
  Reference<css::beans::XPropertySet> properties;
  if (handles_.paragraphStyles.is() && handles_.paragraphStyles->hasByName(style) &&
      (handles_.paragraphStyles->getByName(style) >>= properties) && properties.is()) {
    rtl::OUString next;
    properties->getPropertyValue(rtl::OUString("FollowStyle")) >>= next;
    differs = next != style;
  }
  handles_.nextStyleDiffers[style] = differs;
  return differs;
}

QString LetterEditing::SelectionText() {
  if (!end_.is()) return FromUno(View()->getString());
  const Reference<css::text::XTextCursor> selection = text_->createTextCursorByRange(start_->getStart());
  selection->gotoRange(Range(end_), true);
  return FromUno(selection->getString());
}

void LetterEditing::Finish() {
  // The selection is shown and the undo step closed while the views are still held, so the
  // office brings its views up to date once, when they are let go.
  const bool locked = std::exchange(locked_, false);
  try {
    if (end_.is()) {
      const Reference<css::text::XTextViewCursor>& view = View();
      view->gotoRange(start_->getStart(), false);
      view->gotoRange(Range(end_), true);
    }
    if (std::exchange(undoOpen_, false)) handles_.undo->leaveUndoContext();
  } catch (const css::uno::Exception&) {
    if (locked) handles_.document->unlockControllers();
    throw;
  }
  if (locked) handles_.document->unlockControllers();
}

QString DocumentText(const Reference<css::text::XTextDocument>& document) {
  return FromUno(document->getText()->getString());
}

namespace {

void AddLines(const Reference<css::text::XText>& text, QStringList& lines);

void AddTable(const Reference<css::text::XTextTable>& table, QStringList& lines) {
  // Cells are named by column letters and row number ("B2"), in reading order.
  std::map<int, QStringList> rows;
  static const QRegularExpression name(QStringLiteral("^[A-Za-z]+(\\d+)"));
  for (const rtl::OUString& cell : table->getCellNames()) {
    const QRegularExpressionMatch match = name.match(FromUno(cell));
    const Reference<css::text::XText> cellText(table->getCellByName(cell), UNO_QUERY_THROW);
    QStringList cellLines;
    AddLines(cellText, cellLines);
    rows[match.hasMatch() ? match.captured(1).toInt() : 0] << cellLines.join(u'\n');
  }
  for (const auto& [row, cells] : rows) lines << cells.join(u'\t');
}

void AddFramesAt(const Reference<css::uno::XInterface>& paragraph, QStringList& lines) {
  const Reference<css::container::XContentEnumerationAccess> anchored(paragraph, UNO_QUERY);
  if (!anchored.is()) return;
  const Reference<css::container::XEnumeration> contents =
      anchored->createContentEnumeration(rtl::OUString("com.sun.star.text.TextContent"));
  while (contents.is() && contents->hasMoreElements()) {
    const Reference<css::text::XTextFrame> frame(contents->nextElement(), UNO_QUERY);
    if (frame.is()) AddLines(frame->getText(), lines);
  }
}

void AddLines(const Reference<css::text::XText>& text, QStringList& lines) {
  const Reference<css::container::XEnumerationAccess> access(text, UNO_QUERY_THROW);
  const Reference<css::container::XEnumeration> parts = access->createEnumeration();
  while (parts->hasMoreElements()) {
    const css::uno::Any part = parts->nextElement();
    if (const Reference<css::text::XTextTable> table(part, UNO_QUERY); table.is()) {
      AddTable(table, lines);
      continue;
    }
    const Reference<css::text::XTextRange> paragraph(part, UNO_QUERY);
    if (!paragraph.is()) continue;
    lines << FromUno(paragraph->getString());
    AddFramesAt(paragraph, lines);
  }
}

// The headers or footers of the page styles in use.
void AddPageParts(const Reference<css::text::XTextDocument>& document, const char* part, QStringList& lines) {
  const Reference<css::style::XStyleFamiliesSupplier> supplier(document, UNO_QUERY_THROW);
  Reference<css::container::XNameAccess> pageStyles;
  supplier->getStyleFamilies()->getByName(rtl::OUString("PageStyles")) >>= pageStyles;
  const rtl::OUString isOn = rtl::OUString::createFromAscii(part) + "IsOn";
  const rtl::OUString textName = rtl::OUString::createFromAscii(part) + "Text";
  for (const rtl::OUString& name : pageStyles->getElementNames()) {
    Reference<css::style::XStyle> style;
    pageStyles->getByName(name) >>= style;
    if (!style.is() || !style->isInUse()) continue;
    const Reference<css::beans::XPropertySet> properties(style, UNO_QUERY_THROW);
    bool on = false;
    properties->getPropertyValue(isOn) >>= on;
    Reference<css::text::XText> text;
    if (on && (properties->getPropertyValue(textName) >>= text) && text.is()) AddLines(text, lines);
  }
}

}  // namespace

QString LetterText(const Reference<css::text::XTextDocument>& document) {
  QStringList lines;
  AddPageParts(document, "Header", lines);
  const Reference<css::text::XTextFramesSupplier> framesSupplier(document, UNO_QUERY_THROW);
  const Reference<css::container::XIndexAccess> frames(framesSupplier->getTextFrames(), UNO_QUERY_THROW);
  for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
    Reference<css::text::XTextFrame> frame;
    frames->getByIndex(i) >>= frame;
    const Reference<css::beans::XPropertySet> properties(frame, UNO_QUERY);
    css::text::TextContentAnchorType anchor = css::text::TextContentAnchorType_AT_PARAGRAPH;
    if (properties.is()) properties->getPropertyValue(rtl::OUString("AnchorType")) >>= anchor;
    if (anchor == css::text::TextContentAnchorType_AT_PAGE) AddLines(frame->getText(), lines);
  }
  AddLines(document->getText(), lines);
  AddPageParts(document, "Footer", lines);
  return lines.join(u'\n');
}
