#include "WriterObjects.h"

#include "OfficeSession.h"

#include <com/sun/star/frame/XTitle.hpp>

#include <QDBusObjectPath>

using css::uno::Reference;

namespace {

constexpr int kGoToBookmark = -1;

bool Is(const QString& name, const QString& member) {
  return name.compare(member, Qt::CaseInsensitive) == 0;
}

// The office's failures, its having gone among them, reach the caller as the automation
// error, the one the object model gives for a server that fails a call; the burst they
// broke ends with them.
template <typename Call>
QVariant Guarded(OfficeSession& office, Call&& call) {
  try {
    return call();
  } catch (const css::uno::Exception&) {
    office.Failed();
    throw AutomationFault{440, QStringLiteral("Automation error")};
  }
}

}  // namespace

WriterApplication::WriterApplication(OfficeSession& office, QObject* parent)
    : AutomationTarget(parent), office_(office) {}

QVariant WriterApplication::Property(const QString& name) {
  if (Is(name, QStringLiteral("Application")))
    return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")));
  if (Is(name, QStringLiteral("Version"))) return QStringLiteral("8.0");
  if (Is(name, QStringLiteral("ActiveDocument")))
    return Guarded(office_, [this]() -> QVariant {
      const Reference<css::frame::XTitle> title(office_.Edit().Document(), css::uno::UNO_QUERY_THROW);
      return FromUno(title->getTitle());
    });
  if (Is(name, QStringLiteral("Selection")))
    return Guarded(office_, [this] {
      office_.Edit();
      return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/selection")));
    });
  UnknownMember();
}

QVariant WriterApplication::Method(const QString&, const QVariantList&, const QVariantMap&) {
  UnknownMember();
}

WriterSelection::WriterSelection(OfficeSession& office, QObject* parent)
    : AutomationTarget(parent), office_(office) {}

QVariant WriterSelection::Property(const QString& name) {
  if (Is(name, QStringLiteral("Text")))
    return Guarded(office_, [this]() -> QVariant { return office_.Edit().SelectionText(); });
  UnknownMember();
}

QVariant WriterSelection::Method(const QString& name, const QVariantList& positional,
                                 const QVariantMap& named) {
  if (Is(name, QStringLiteral("GoTo"))) {
    const QVariantList args = BindArguments(
        {QStringLiteral("What"), QStringLiteral("Which"), QStringLiteral("Count"), QStringLiteral("Name")},
        positional, named);
    return Guarded(office_, [&]() -> QVariant {
      const QString bookmark = Required(args[3]).toString();
      // A bookmark gone to again begins the next transfer.
      if (office_.Edit().HasGoneTo(bookmark)) office_.EndBurst();
      LetterEditing& editing = office_.Edit();
      bool numeric = false;
      const int what = args[0].toInt(&numeric);
      if (!args[0].isValid() || !numeric || what != kGoToBookmark)
        throw AutomationFault{5, QStringLiteral("Invalid procedure call or argument")};
      if (!editing.GoToBookmark(bookmark))
        throw AutomationFault{5101, QStringLiteral("This bookmark does not exist.")};
      return {};
    });
  }
  if (Is(name, QStringLiteral("InsertAfter"))) {
    const QVariantList args = BindArguments({QStringLiteral("Text")}, positional, named);
    return Guarded(office_, [&]() -> QVariant {
      LetterEditing& editing = office_.Edit();
      editing.InsertAfter(Required(args[0]).toString());
      return {};
    });
  }
  UnknownMember();
}
