#pragma once

#include "BusNames.h"

#include <QString>

// The names of the automation contract over D-Bus (dbus/org.penlark.Automation.xml,
// dbus/org.penlark.Automation.ClassFactory.xml, dbus/org.penlark.Window.xml), shared by
// the client (Automation.h) and the programs that serve it. Header-only and Qt Core
// only, so a server needs nothing else of this library.
namespace AutomationContract {
inline const QString Interface = QStringLiteral("org.penlark.Automation");
inline const QString FactoryInterface = QStringLiteral("org.penlark.Automation.ClassFactory");
inline const QString WindowInterface = QStringLiteral("org.penlark.Window");
inline const QString WindowPath = QStringLiteral("/window");
// A refusal: ErrorPrefix + the error number, the description as the error message.
inline const QString ErrorPrefix = QStringLiteral("org.penlark.Automation.Error.E");

// A class or window class name as one bus name element; "-" is kept.
inline QString BusElement(const QString& name) { return BusNameElement(name, true); }
}  // namespace AutomationContract

// "Word.Application.8" -> "org.penlark.rot.Word_Application_8": the running object of the
// class, served at "/".
inline QString RunningObjectName(const QString& progId) {
  return QStringLiteral("org.penlark.rot.") + AutomationContract::BusElement(progId);
}
// "Word.Basic" -> "org.penlark.class.Word_Basic": the class factory, served at "/".
inline QString ClassFactoryName(const QString& progId) {
  return QStringLiteral("org.penlark.class.") + AutomationContract::BusElement(progId);
}
// "OpusApp" -> "org.penlark.window.OpusApp": owned while a main window of the class is open.
inline QString WindowClassName(const QString& className) {
  return QStringLiteral("org.penlark.window.") + AutomationContract::BusElement(className);
}
