#pragma once

#include "contract/AutomationContract.h"

#include <QDBusConnection>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// Late-bound automation over the D-Bus session bus. A program offers automation objects
// on the interface "org.penlark.Automation" (GetProperty, Invoke): the running object of
// a class is served under the bus name RunningObjectName(class) at "/", and a class whose
// objects can be created under ClassFactoryName(class) (method CreateObject, returning
// the new object's path). A property may return another object (its object path).
// Every failure throws RuntimeError: the server's own number and description when it
// refuses a call (error name "org.penlark.Automation.Error.E<number>", message the
// description), 440 when the server has gone away or does not answer in time (5 s), 91
// for a call on nothing, 424 when GetObject's property holds no object. A reference
// talks to the program that served the object when it was made, never to a successor.
class AutomationObject {
 public:
  AutomationObject() = default;
  AutomationObject(QDBusConnection bus, QString service, QString path);

  bool IsNothing() const { return service_.isEmpty(); }

  // A property's value: text or a number; an object property gives its object path.
  QVariant Get(const QString& property) const;
  // A property that holds an object.
  AutomationObject GetObject(const QString& property) const;
  // A method by name, with positional and named arguments; its result, if any.
  QVariant Call(const QString& method, const QVariantList& positional = {},
                const QVariantMap& named = {}) const;

  const QString& Service() const { return service_; }
  const QString& Path() const { return path_; }

 private:
  QDBusConnection bus_ = QDBusConnection(QString());
  QString service_;
  QString path_;
};

// Attaches to the running object of a class, starting nothing: 429 when none runs.
AutomationObject GetRunningObject(const QString& progId,
                                  QDBusConnection bus = QDBusConnection::sessionBus());
// Creates an object of a class served by a running program: 429 when none serves it.
AutomationObject CreateAutomationObject(const QString& progId,
                                        QDBusConnection bus = QDBusConnection::sessionBus());
// RunningObjectName, ClassFactoryName and WindowClassName: contract/AutomationContract.h.

// Non-zero while a program announces a main window of the class on the bus (bus name
// WindowClassName(className)). A title, when given, must match the window's title
// (property "Title" of "org.penlark.Window" at "/window").
quintptr FindWindowA(const QString& className, const QString& title = QString(),
                     QDBusConnection bus = QDBusConnection::sessionBus());
