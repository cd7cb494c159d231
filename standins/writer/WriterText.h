#pragma once

#include <com/sun/star/text/XTextDocument.hpp>

#include <QString>

// The selection of a Writer document is its view cursor, the cursor the person sees; the
// document shows every change as it is made. Each function may throw css::uno::Exception.

// Selects the range of the bookmark with the view cursor; false when the document has no
// bookmark of that name. A name matches exactly or, failing that, without regard to letter
// case, as the names of the object model do.
bool SelectBookmark(const css::uno::Reference<css::text::XTextDocument>& document, const QString& name);

// Inserts the text at the end of the selection, which then extends over it. CR LF, CR and
// LF each become one paragraph break; a tab stays a tab.
void InsertAfterSelection(const css::uno::Reference<css::text::XTextDocument>& document,
                          const QString& text);

// The selected text, each paragraph break as LF.
QString SelectionText(const css::uno::Reference<css::text::XTextDocument>& document);

// The document's whole text, each paragraph break as LF.
QString DocumentText(const css::uno::Reference<css::text::XTextDocument>& document);
