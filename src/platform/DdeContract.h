#pragma once

#include <QString>

// The names of the DDE contract over D-Bus (dbus/org.penlark.Dde.xml), shared by the
// client (DdeTextBox) and the programs that serve it. Header-only and Qt Core only, so a
// server needs nothing else of this library.
namespace DdeContract {
inline const QString Interface = QStringLiteral("org.penlark.Dde");
inline const QString ObjectPath = QStringLiteral("/dde");
inline const QString ErrorTopicRefused = QStringLiteral("org.penlark.Dde.Error.TopicRefused");
inline const QString ErrorRefused = QStringLiteral("org.penlark.Dde.Error.Refused");
inline const QString ErrorNoConversation = QStringLiteral("org.penlark.Dde.Error.NoConversation");
}  // namespace DdeContract

// The bus name that serves a DDE application name ("Organize200" ->
// "org.penlark.dde.Organize200"). Characters a bus name cannot hold become "_", and an
// element may not start with a digit, so "_" goes in front of one that would.
inline QString DdeServiceName(const QString& application) {
  QString element;
  for (QChar c : application) {
    const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                       (c >= u'0' && c <= u'9') || c == u'_';
    element += plain ? c : QChar(u'_');
  }
  if (element.isEmpty() || element.front().isDigit()) element.prepend(u'_');
  return QStringLiteral("org.penlark.dde.") + element;
}
