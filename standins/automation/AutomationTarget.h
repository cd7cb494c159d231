#pragma once

#include "CallFaults.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// A refusal of a property read or a call: answered on the bus as the error
// "org.penlark.Automation.Error.E<number>" with the description as its message.
struct AutomationFault {
  int number;
  QString description;
};

// One automation object on the bus (interface org.penlark.Automation, and
// org.penlark.Automation.ClassFactory where it is a class's creatable object). Member
// names are matched without regard to letter case, as late binding does. Subclasses
// answer by name and throw AutomationFault to refuse.
class AutomationTarget : public QObject, public QDBusContext {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Called by the generated adaptors.
  QDBusVariant GetProperty(const QString& name);
  QVariantList Invoke(const QString& method, const QVariantList& positional,
                      const QVariantMap& named);
  // Creating "an object" of the class hands out this one: the stand-in has one
  // application object.
  QDBusObjectPath CreateObject();

  // The program's call counter, shared by all its objects; these take no --refuse-at.
  void SetFaults(CallCounter* faults) { faults_ = faults; }
  // Serves this object at path with the automation interface, and the class factory
  // where creatable; false when the bus refuses the path.
  bool Publish(QDBusConnection& bus, const QString& path, bool creatable);

 Q_SIGNALS:
  // Every call, for the window's status line: "GoTo(What=-1, Name=City)" or
  // "GoTo(...) failed: 5101 This bookmark does not exist.".
  void Called(const QString& description);

 protected:
  virtual QVariant Property(const QString& name) = 0;
  // The result, or an invalid QVariant for a method that returns nothing.
  virtual QVariant Method(const QString& name, const QVariantList& positional,
                          const QVariantMap& named) = 0;

 private:
  void Refuse(const QString& call, const AutomationFault& fault);
  bool Faulted(const QString& call);  // counts the call; true: left unanswered

  QString path_ = QStringLiteral("/");
  CallCounter* faults_ = nullptr;
};

// The arguments of one call laid out by parameter: positional ones first, in order, then
// named ones (names matched without regard to case). An absent argument is an invalid
// QVariant. Too many positional arguments: 450; an unknown or repeated name: 448.
QVariantList BindArguments(const QStringList& parameters, const QVariantList& positional,
                           const QVariantMap& named);
// A required argument that was left out: 449.
QVariant Required(const QVariant& argument);

[[noreturn]] void UnknownMember();  // 438
