#include "WriterObjects.h"

#include "WriterConnection.h"
#include "WriterText.h"

#include <com/sun/star/frame/XTitle.hpp>

#include <QDBusObjectPath>

using css::uno::Reference;

namespace {

constexpr int kGoToBookmark = -1;

bool Is(const QString& name, const QString& member) {
  return name.compare(member, Qt::CaseInsensitive) == 0;
}

Reference<css::text::XTextDocument> OpenDocument(const WriterConnection& writer) {
  Reference<css::text::XTextDocument> document = writer.CurrentTextDocument();
  if (!document.is())
    throw AutomationFault{4248, QStringLiteral("This command is not available because no document is open.")};
  return document;
}

// The office's failures, its having gone among them, reach the caller as the automation
// error, the one the object model gives for a server that fails a call.
template <typename Call>
QVariant Guarded(Call&& call) {
  try {
    return call();
  } catch (const css::uno::Exception&) {
    throw AutomationFault{440, QStringLiteral("Automation error")};
  }
}

}  // namespace

WriterApplication::WriterApplication(const WriterConnection& writer, QObject* parent)
    : AutomationTarget(parent), writer_(writer) {}

QVariant WriterApplication::Property(const QString& name) {
  if (Is(name, QStringLiteral("Application")))
    return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")));
  if (Is(name, QStringLiteral("Version"))) return QStringLiteral("8.0");
  if (Is(name, QStringLiteral("ActiveDocument")))
    return Guarded([this]() -> QVariant {
      const Reference<css::frame::XTitle> title(OpenDocument(writer_), css::uno::UNO_QUERY_THROW);
      return FromUno(title->getTitle());
    });
  if (Is(name, QStringLiteral("Selection")))
    return Guarded([this] {
      OpenDocument(writer_);
      return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/selection")));
    });
  UnknownMember();
}

QVariant WriterApplication::Method(const QString&, const QVariantList&, const QVariantMap&) {
  UnknownMember();
}

WriterSelection::WriterSelection(const WriterConnection& writer, QObject* parent)
    : AutomationTarget(parent), writer_(writer) {}

QVariant WriterSelection::Property(const QString& name) {
  if (Is(name, QStringLiteral("Text")))
    return Guarded([this]() -> QVariant { return SelectionText(OpenDocument(writer_)); });
  UnknownMember();
}

QVariant WriterSelection::Method(const QString& name, const QVariantList& positional,
                                 const QVariantMap& named) {
  if (Is(name, QStringLiteral("GoTo"))) {
    const QVariantList args = BindArguments(
        {QStringLiteral("What"), QStringLiteral("Which"), QStringLiteral("Count"), QStringLiteral("Name")},
        positional, named);
    return Guarded([&]() -> QVariant {
      const Reference<css::text::XTextDocument> document = OpenDocument(writer_);
      bool numeric = false;
      const int what = args[0].toInt(&numeric);
      if (!args[0].isValid() || !numeric || what != kGoToBookmark)
        throw AutomationFault{5, QStringLiteral("Invalid procedure call or argument")};
      if (!SelectBookmark(document, Required(args[3]).toString()))
        throw AutomationFault{5101, QStringLiteral("This bookmark does not exist.")};
      return {};
    });
  }
  if (Is(name, QStringLiteral("InsertAfter"))) {
    const QVariantList args = BindArguments({QStringLiteral("Text")}, positional, named);
    return Guarded([&]() -> QVariant {
      const Reference<css::text::XTextDocument> document = OpenDocument(writer_);
      InsertAfterSelection(document, Required(args[0]).toString());
      return {};
    });
  }
  UnknownMember();
}
