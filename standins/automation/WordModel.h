#pragma once

#include "AutomationTarget.h"

#include <functional>

// What the word-processor object models need of the open document. Each word processor
// backs it with its own document (penlark-word its editor, penlark-writer a Writer
// document); a member may throw AutomationFault for a failure of its own.
class WordDocument {
 public:
  virtual ~WordDocument() = default;

  virtual QString Name() = 0;
  // The selected text, each paragraph break as LF.
  virtual QString SelectionText() = 0;
  // Selects the bookmark; false when the document has none of that name (matched without
  // regard to letter case).
  virtual bool GoToBookmark(const QString& bookmark) = 0;
  // Adds the text at the end of the selection, which grows over it; CR LF, CR and LF are
  // paragraph breaks.
  virtual void InsertAfterSelection(const QString& text) = 0;
  // Replaces the selection with the text; the insertion point ends after it. Only WordBasic
  // uses it.
  virtual void InsertAtInsertionPoint(const QString& text) = 0;
};

// How the objects reach the open document at each call: nullptr while none is open. It may
// throw AutomationFault.
using WordDocumentAccess = std::function<WordDocument*()>;

// An object of the word processor's object models: it reaches the document at each call,
// and any member its class does not answer is unknown (438).
class WordObject : public AutomationTarget {
 public:
  WordObject(WordDocumentAccess document, QObject* parent)
      : AutomationTarget(parent), document_(std::move(document)) {}

 protected:
  QVariant Property(const QString& name) override;
  QVariant Method(const QString& name, const QVariantList& positional,
                  const QVariantMap& named) override;
  // The open document; with none open, refuses with noDocumentError.
  WordDocument& OpenDocument(int noDocumentError) const;

 private:
  WordDocumentAccess document_;
};

// The application object of class "Word.Application.8", at "/".
//   Application  this object        Version  "8.0"
//   ActiveDocument  the document's name as text; 4248 when no document is open
//   Selection    the selection object (at "/selection"); 4248 when no document is open
class Word8Application : public WordObject {
 public:
  using WordObject::WordObject;

 protected:
  QVariant Property(const QString& name) override;
};

// Its selection, at "/selection".
//   Text  the selected text
//   GoTo(What, Which, Count, Name)  with What = -1 selects the bookmark Name; 5101 when
//       the document has none of that name; other What values: 5
//   InsertAfter(Text)  adds the text at the end of the selection, which grows over it
// Each refuses with 4248 when no document is open.
class Word8Selection : public WordObject {
 public:
  using WordObject::WordObject;

 protected:
  QVariant Property(const QString& name) override;
  QVariant Method(const QString& name, const QVariantList& positional,
                  const QVariantMap& named) override;
};

// The WordBasic object, at "/", created through the class "Word.Basic". No properties.
//   English: EditGoTo(Destination), Insert(Text)
//   German:  BearbeitenGeheZu(Ziel), Einfügen(Text)
// The other language's names are unknown (438). EditGoTo selects the bookmark; 440 when
// the document has no such bookmark. Insert replaces the selection and leaves the
// insertion point after the text. Both refuse with 5003 when no document is open.
class WordBasicObject : public WordObject {
 public:
  WordBasicObject(WordDocumentAccess document, bool german, QObject* parent)
      : WordObject(std::move(document), parent), german_(german) {}

 protected:
  QVariant Method(const QString& name, const QVariantList& positional,
                  const QVariantMap& named) override;

 private:
  bool german_;
};
