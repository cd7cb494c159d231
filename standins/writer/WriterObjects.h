#pragma once

#include "AutomationTarget.h"

class OfficeSession;

// The Word 97 object model over a running LibreOffice Writer. Every call works on the
// current burst's editing of Writer's current text document (OfficeSession::Edit), so a
// document the person opens or closes in between counts at once. A call that fails inside
// the office (which has gone, or refuses), or comes while no office is connected,
// answers 440.

// The application object of class "Word.Application.8", at "/".
//   Application  this object        Version  "8.0"
//   ActiveDocument  the current text document's title ("letter.odt"); 4248 when none is open
//   Selection    the selection object (at "/selection"); 4248 when no document is open
class WriterApplication : public AutomationTarget {
  Q_OBJECT

 public:
  WriterApplication(OfficeSession& office, QObject* parent);

 protected:
  QVariant Property(const QString& name) override;
  QVariant Method(const QString& name, const QVariantList& positional,
                  const QVariantMap& named) override;

 private:
  OfficeSession& office_;
};

// Its selection, at "/selection": the current document's view cursor.
//   Text  the selected text, paragraph breaks as LF
//   GoTo(What, Which, Count, Name)  with What = -1 selects the range of the bookmark Name;
//       5101 when the document has none of that name; other What values: 5
//   InsertAfter(Text)  inserts at the end of the selection, which extends over the text;
//       character 13 (CR LF and LF too) becomes a paragraph break in the style of the
//       paragraph it splits, 9 a tab
// Each refuses with 4248 when no document is open.
class WriterSelection : public AutomationTarget {
  Q_OBJECT

 public:
  WriterSelection(OfficeSession& office, QObject* parent);

 protected:
  QVariant Property(const QString& name) override;
  QVariant Method(const QString& name, const QVariantList& positional,
                  const QVariantMap& named) override;

 private:
  OfficeSession& office_;
};
