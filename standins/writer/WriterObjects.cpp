#include "WriterObjects.h"

#include "OfficeSession.h"

#include <com/sun/star/frame/XTitle.hpp>

#include <memory>

using css::uno::Reference;

namespace {

// The office's failures, its having gone among them, reach the caller as the automation
// error, the one the object model gives for a server that fails a call; the burst they
// broke ends with them.
template <typename Call>
auto Guarded(OfficeSession& office, Call&& call) {
  try {
    return call();
  } catch (const css::uno::Exception&) {
    office.Failed();
    throw AutomationFault{440, QStringLiteral("Automation error")};
  }
}

class WriterDocument : public WordDocument {
 public:
  explicit WriterDocument(OfficeSession& office) : office_(office) {}

  QString Name() override {
    return Guarded(office_, [this] {
      const Reference<css::frame::XTitle> title(Editing().Document(), css::uno::UNO_QUERY_THROW);
      return FromUno(title->getTitle());
    });
  }
  QString SelectionText() override {
    return Guarded(office_, [this] { return Editing().SelectionText(); });
  }
  bool GoToBookmark(const QString& bookmark) override {
    return Guarded(office_, [&] {
      // A bookmark gone to again begins the next transfer.
      if (Editing().HasGoneTo(bookmark)) office_.EndBurst();
      return Editing().GoToBookmark(bookmark);
    });
  }
  void InsertAfterSelection(const QString& text) override {
    Guarded(office_, [&] { Editing().InsertAfter(text); });
  }
  void InsertAtInsertionPoint(const QString&) override { UnknownMember(); }

 private:
  LetterEditing& Editing() {
    LetterEditing* editing = office_.Edit();
    if (!editing)
      throw AutomationFault{4248, QStringLiteral("This command is not available because no document is open.")};
    return *editing;
  }

  OfficeSession& office_;
};

}  // namespace

WordDocumentAccess WriterAccess(OfficeSession& office) {
  auto document = std::make_shared<WriterDocument>(office);
  return [&office, document]() -> WordDocument* {
    return Guarded(office, [&]() -> WordDocument* { return office.Edit() ? document.get() : nullptr; });
  };
}
