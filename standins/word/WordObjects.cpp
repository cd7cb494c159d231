#include "WordObjects.h"

#include "LetterDocument.h"

#include <memory>

namespace {

class LetterAsWordDocument : public WordDocument {
 public:
  LetterDocument* letter = nullptr;

  QString Name() override { return letter->Name(); }
  QString SelectionText() override { return letter->SelectionText(); }
  bool GoToBookmark(const QString& bookmark) override { return letter->GoToBookmark(bookmark); }
  void InsertAfterSelection(const QString& text) override { letter->InsertAfterSelection(text); }
  void InsertAtInsertionPoint(const QString& text) override { letter->InsertAtInsertionPoint(text); }
};

}  // namespace

WordDocumentAccess LetterAccess(DocumentAccess letter) {
  auto document = std::make_shared<LetterAsWordDocument>();
  return [letter = std::move(letter), document]() -> WordDocument* {
    document->letter = letter();
    return document->letter ? document.get() : nullptr;
  };
}
