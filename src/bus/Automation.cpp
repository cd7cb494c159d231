#include "bus/Automation.h"

#include "bus/BusOwner.h"
#include "contract/ErrorNumbers.h"
#include "runtime/RuntimeError.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {

using AutomationContract::ErrorPrefix;

// Long enough for a busy word processor, short enough that a hung one is reported.
constexpr int kCallTimeoutMs = 5000;

QDBusMessage Send(const QDBusConnection& bus, QDBusMessage message) {
  message.setAutoStartService(false);
  const QDBusMessage reply = bus.call(message, QDBus::Block, kCallTimeoutMs);
  if (reply.type() == QDBusMessage::ReplyMessage) return reply;
  const QString name = reply.errorName();
  if (name.startsWith(ErrorPrefix)) {
    bool ok = false;
    const int number = name.mid(ErrorPrefix.size()).toInt(&ok);
    if (ok) throw RuntimeError(number, reply.errorMessage());
  }
  // Gone, never answered, or not an automation server at all.
  throw RuntimeError(ErrorNumber::AutomationError);
}

QVariant Unwrap(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QDBusVariant>())
    return qvariant_cast<QDBusVariant>(value).variant();
  return value;
}

}  // namespace

AutomationObject::AutomationObject(QDBusConnection bus, QString service, QString path)
    : bus_(std::move(bus)), service_(std::move(service)), path_(std::move(path)) {}

QVariant AutomationObject::Get(const QString& property) const {
  if (IsNothing()) throw RuntimeError(ErrorNumber::ObjectNotSet);
  QDBusMessage call =
      QDBusMessage::createMethodCall(service_, path_, AutomationContract::Interface, QStringLiteral("GetProperty"));
  call << property;
  const QDBusMessage reply = Send(bus_, call);
  if (reply.arguments().isEmpty()) throw RuntimeError(ErrorNumber::AutomationError);
  return Unwrap(reply.arguments().front());
}

AutomationObject AutomationObject::GetObject(const QString& property) const {
  const QVariant value = Get(property);
  if (value.metaType() != QMetaType::fromType<QDBusObjectPath>()) throw RuntimeError(ErrorNumber::ObjectRequired);
  return AutomationObject(bus_, service_, value.value<QDBusObjectPath>().path());
}

QVariant AutomationObject::Call(const QString& method, const QVariantList& positional,
                                const QVariantMap& named) const {
  if (IsNothing()) throw RuntimeError(ErrorNumber::ObjectNotSet);
  QDBusMessage call =
      QDBusMessage::createMethodCall(service_, path_, AutomationContract::Interface, QStringLiteral("Invoke"));
  call << method << QVariant::fromValue(positional) << QVariant::fromValue(named);
  const QDBusMessage reply = Send(bus_, call);
  if (reply.arguments().isEmpty()) return {};
  const QVariantList result = qdbus_cast<QVariantList>(reply.arguments().front());
  return result.isEmpty() ? QVariant() : Unwrap(result.front());
}

AutomationObject GetRunningObject(const QString& progId, QDBusConnection bus) {
  const QString owner = BusNameOwner(bus, RunningObjectName(progId));
  if (owner.isEmpty()) throw RuntimeError(ErrorNumber::CannotCreateObject);
  return AutomationObject(std::move(bus), owner, QStringLiteral("/"));
}

AutomationObject CreateAutomationObject(const QString& progId, QDBusConnection bus) {
  const QString owner = BusNameOwner(bus, ClassFactoryName(progId));
  if (owner.isEmpty()) throw RuntimeError(ErrorNumber::CannotCreateObject);
  const QDBusMessage reply = Send(
      bus, QDBusMessage::createMethodCall(owner, QStringLiteral("/"), AutomationContract::FactoryInterface,
                                          QStringLiteral("CreateObject")));
  if (reply.arguments().isEmpty()) throw RuntimeError(ErrorNumber::AutomationError);
  const QString path = qvariant_cast<QDBusObjectPath>(reply.arguments().front()).path();
  if (path.isEmpty()) throw RuntimeError(ErrorNumber::AutomationError);
  return AutomationObject(std::move(bus), owner, path);
}

quintptr FindWindowA(const QString& className, const QString& title, QDBusConnection bus) {
  const QString owner = BusNameOwner(bus, WindowClassName(className));
  if (owner.isEmpty()) return 0;
  if (!title.isNull()) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        owner, AutomationContract::WindowPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << AutomationContract::WindowInterface << QStringLiteral("Title");
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return 0;
    if (Unwrap(reply.arguments().front()).toString() != title) return 0;
  }
  // A handle only has to be non-zero and stable while the window lives.
  const quintptr handle = qHash(owner);
  return handle != 0 ? handle : 1;
}
