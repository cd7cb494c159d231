#pragma once

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>

#include <QSet>
#include <QString>

#include <map>

// Each function and member may throw css::uno::Exception; every call into the office is
// a round trip over the bridge, so each one here is counted.

// What bursts reach a document through, kept from one burst to the next while the document
// stays current, since each costs round trips to get; filled as needed.
struct DocumentHandles {
  css::uno::Reference<css::text::XTextDocument> document;
  css::uno::Reference<css::text::XText> body;
  css::uno::Reference<css::container::XNameAccess> bookmarks;
  css::uno::Reference<css::document::XUndoManager> undo;
  css::uno::Reference<css::text::XTextViewCursor> view;
  css::uno::Reference<css::container::XNameAccess> paragraphStyles;
  // Whether a paragraph style's next style is another one, by style name: asked once while
  // the document stays current.
  std::map<rtl::OUString, bool> nextStyleDiffers;
};

// One burst of calls into a document, such as one transfer. The selection as the object
// model sees it is kept here, as a range whose start stays where it is and a text cursor at
// its end that text is inserted at; the document shows each insertion as it is made, and
// Finish shows the selection in the view cursor, the one the person sees. The burst's
// insertions are one undo step, opened at the first and closed by Finish; from the first
// to Finish the document's views are held still, so the office lays the text out once
// instead of after each insertion, and the person sees it all appear at Finish.
class LetterEditing {
 public:
  explicit LetterEditing(DocumentHandles& handles) : handles_(handles) {}

  const css::uno::Reference<css::text::XTextDocument>& Document() const { return handles_.document; }

  // Selects the range of the bookmark; false when the document has no bookmark of that
  // name. A name matches exactly or, failing that, without regard to letter case, as the
  // names of the object model do.
  bool GoToBookmark(const QString& name);
  // Whether this editing has gone to the bookmark already.
  bool HasGoneTo(const QString& name) const { return goneTo_.contains(name.toCaseFolded()); }
  // Inserts the text at the end of the selection, which then extends over it. CR LF, CR
  // and LF each become one paragraph break; a tab stays a tab. The paragraphs a break makes
  // keep the style of the paragraph they were split from, not its "next style".
  void InsertAfter(const QString& text);
  // The selected text, each paragraph break as LF.
  QString SelectionText();
  // Closes the undo step and shows the selection in the view cursor.
  void Finish();

 private:
  void TakeViewSelection();
  const css::uno::Reference<css::text::XTextViewCursor>& View();

  DocumentHandles& handles_;
  // The selection: empty until a go-to or an insertion takes it.
  css::uno::Reference<css::text::XText> text_;
  css::uno::Reference<css::text::XTextRange> start_;
  css::uno::Reference<css::text::XTextCursor> end_;
  bool NextStyleDiffers(const rtl::OUString& style);

  css::uno::Reference<css::beans::XPropertySet> endProperties_;
  rtl::OUString style_;  // of the selection's paragraph; read at the first break
  bool restyle_ = false;  // the paragraphs breaks make need style_ set
  bool undoOpen_ = false;
  bool locked_ = false;
  QSet<QString> goneTo_;  // case-folded
};

// The document's body text, each paragraph break as LF.
QString DocumentText(const css::uno::Reference<css::text::XTextDocument>& document);

// The whole letter in reading order, one line for each paragraph: the page headers, then
// the body with each frame's text after the paragraph it is anchored at and each table
// row by row (its cells joined by tabs), then the page footers. Frames anchored at the page
// follow the headers. A letter of plain paragraphs gives DocumentText.
QString LetterText(const css::uno::Reference<css::text::XTextDocument>& document);
