#include "WordModel.h"

#include <QDBusObjectPath>

namespace {

constexpr int kGoToBookmark = -1;

bool Is(const QString& name, const QString& member) {
  return name.compare(member, Qt::CaseInsensitive) == 0;
}

}  // namespace

WordDocument& WordObject::OpenDocument(int noDocumentError) const {
  WordDocument* document = document_();
  if (!document)
    throw AutomationFault{noDocumentError,
                          QStringLiteral("This command is not available because no document is open.")};
  return *document;
}

QVariant WordObject::Property(const QString&) { UnknownMember(); }

QVariant WordObject::Method(const QString&, const QVariantList&, const QVariantMap&) { UnknownMember(); }

QVariant Word8Application::Property(const QString& name) {
  if (Is(name, QStringLiteral("Application")))
    return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")));
  if (Is(name, QStringLiteral("Version"))) return QStringLiteral("8.0");
  if (Is(name, QStringLiteral("ActiveDocument"))) return OpenDocument(4248).Name();
  if (Is(name, QStringLiteral("Selection"))) {
    OpenDocument(4248);
    return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/selection")));
  }
  UnknownMember();
}

QVariant Word8Selection::Property(const QString& name) {
  if (Is(name, QStringLiteral("Text"))) return OpenDocument(4248).SelectionText();
  UnknownMember();
}

QVariant Word8Selection::Method(const QString& name, const QVariantList& positional,
                               const QVariantMap& named) {
  if (Is(name, QStringLiteral("GoTo"))) {
    const QVariantList args = BindArguments(
        {QStringLiteral("What"), QStringLiteral("Which"), QStringLiteral("Count"), QStringLiteral("Name")},
        positional, named);
    WordDocument& document = OpenDocument(4248);
    bool numeric = false;
    const int what = args[0].toInt(&numeric);
    if (!args[0].isValid() || !numeric || what != kGoToBookmark)
      throw AutomationFault{5, QStringLiteral("Invalid procedure call or argument")};
    if (!document.GoToBookmark(Required(args[3]).toString()))
      throw AutomationFault{5101, QStringLiteral("This bookmark does not exist.")};
    return {};
  }
  if (Is(name, QStringLiteral("InsertAfter"))) {
    const QVariantList args = BindArguments({QStringLiteral("Text")}, positional, named);
    WordDocument& document = OpenDocument(4248);
    document.InsertAfterSelection(Required(args[0]).toString());
    return {};
  }
  UnknownMember();
}

QVariant WordBasicObject::Method(const QString& name, const QVariantList& positional,
                                 const QVariantMap& named) {
  const QString goTo = german_ ? QStringLiteral("BearbeitenGeheZu") : QStringLiteral("EditGoTo");
  const QString destination = german_ ? QStringLiteral("Ziel") : QStringLiteral("Destination");
  const QString insert = german_ ? QStringLiteral("Einfügen") : QStringLiteral("Insert");
  if (Is(name, goTo)) {
    const QVariantList args = BindArguments({destination}, positional, named);
    WordDocument& document = OpenDocument(5003);
    if (!document.GoToBookmark(Required(args[0]).toString()))
      throw AutomationFault{440, QStringLiteral("This bookmark does not exist.")};
    return {};
  }
  if (Is(name, insert)) {
    const QVariantList args = BindArguments({QStringLiteral("Text")}, positional, named);
    OpenDocument(5003).InsertAtInsertionPoint(Required(args[0]).toString());
    return {};
  }
  UnknownMember();
}
