#pragma once

#include "BusNames.h"

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
// "org.penlark.dde.Organize200"); unlike the automation names, "-" becomes "_" too.
inline QString DdeServiceName(const QString& application) {
  return QStringLiteral("org.penlark.dde.") + BusNameElement(application, false);
}
