#include "bus/BusOwner.h"

#include <QDBusMessage>

namespace {
// The bus daemon answers at once; this only bounds a daemon that has stopped answering.
constexpr int kBusDaemonTimeoutMs = 5000;
}  // namespace

QString BusNameOwner(const QDBusConnection& bus, const QString& name) {
  if (!bus.isConnected()) return {};
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
  call.setAutoStartService(false);
  call << name;
  const QDBusMessage reply = bus.call(call, QDBus::Block, kBusDaemonTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  return reply.arguments().constFirst().toString();
}
