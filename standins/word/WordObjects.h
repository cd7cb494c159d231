#pragma once

#include "AutomationTarget.h"

#include <functional>

class LetterDocument;

// How the objects reach the open document: nullptr while none is open.
using DocumentAccess = std::function<LetterDocument*()>;

// The application object of class "Word.Application.8", at "/".
//   Application  this object        Version  "8.0"
//   ActiveDocument  the document's name as text; 4248 when no document is open
//   Selection    the selection object (at "/selection"); 4248 when no document is open
class WordApplication : public AutomationTarget {
  Q_OBJECT

 public:
  WordApplication(DocumentAccess document, QObject* parent);

 protected:
  QVariant Property(const QString& name) override;
  QVariant Method(const QString& name, const QVariantList& positional,
                  const QVariantMap& named) override;

 private:
  DocumentAccess document_;
};

// Its selection, at "/selection".
//   Text  the selected text
//   GoTo(What, Which, Count, Name)  with What = -1 selects the bookmark Name; 5101 when
//       the document has none of that name; other What values: 5
//   InsertAfter(Text)  adds the text at the end of the selection, which grows over it
// Each refuses with 4248 when no document is open.
class WordSelection : public AutomationTarget {
  Q_OBJECT

 public:
  WordSelection(DocumentAccess document, QObject* parent);

 protected:
  QVariant Property(const QString& name) override;
  QVariant Method(const QString& name, const QVariantList& positional,
                  const QVariantMap& named) override;

 private:
  LetterDocument& Document() const;

  DocumentAccess document_;
};

// The WordBasic object, at "/", created through the class "Word.Basic". No properties.
//   English: EditGoTo(Destination), Insert(Text)
//   German:  BearbeitenGeheZu(Ziel), Einfügen(Text)
// The other language's names are unknown (438). EditGoTo selects the bookmark; 440 when
// the document has no such bookmark. Insert replaces the selection and leaves the
// insertion point after the text. Both refuse with 5003 when no document is open.
class WordBasic : public AutomationTarget {
  Q_OBJECT

 public:
  WordBasic(DocumentAccess document, bool german, QObject* parent);

 protected:
  QVariant Property(const QString& name) override;
  QVariant Method(const QString& name, const QVariantList& positional,
                  const QVariantMap& named) override;

 private:
  DocumentAccess document_;
  bool german_;
};
