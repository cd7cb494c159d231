#include "bus/DdeTextBox.h"

#include "bus/BusOwner.h"
#include "contract/ErrorNumbers.h"
#include "runtime/RuntimeError.h"

#include <limits>

namespace {

constexpr int kLongestTenths = 65535;

QDBusMessage NewCall(const QString& service, const QString& method) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, DdeContract::ObjectPath,
                                                     DdeContract::Interface, method);
  call.setAutoStartService(false);
  return call;
}

}  // namespace

DdeTextBox::DdeTextBox(QWidget* parent, QDBusConnection bus)
    : QLineEdit(parent), bus_(std::move(bus)) {
  // A value is the address book's whole field: a line edit's default limit (32767) would
  // cut a longer one without a word.
  setMaxLength(std::numeric_limits<int>::max());
}

DdeTextBox::~DdeTextBox() { Close(); }

int DdeTextBox::TimeoutMs() const {
  const int tenths = linkTimeout_ > 0 ? linkTimeout_ : kLongestTenths;
  return tenths * 100;
}

void DdeTextBox::SetLinkMode(int mode) {
  if (mode != 0 && mode != 2) throw RuntimeError(ErrorNumber::InvalidCall);
  Close();
  if (mode == 0) return;

  const qsizetype bar = linkTopic_.indexOf(u'|');
  if (bar < 0) throw RuntimeError(ErrorNumber::DdeBadLinkFormat);
  const QString application = linkTopic_.left(bar);
  const QString topic = linkTopic_.mid(bar + 1);
  if (application.isEmpty() || !bus_.isConnected()) throw RuntimeError(ErrorNumber::DdeNoResponse);

  // Ownership first: a call to a name nobody owns could otherwise ask the bus to start
  // a program for it.
  const QString serviceName = DdeServiceName(application);
  const QString owner = BusNameOwner(bus_, serviceName);
  if (owner.isEmpty()) throw RuntimeError(ErrorNumber::DdeNoResponse);

  QDBusMessage call = NewCall(owner, QStringLiteral("Initiate"));
  call << topic;
  const QDBusMessage reply = bus_.call(call, QDBus::Block, TimeoutMs());
  // A refused topic, a server that does not speak the contract and one that does not
  // answer all leave the initiate unanswered.
  if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QStringLiteral("u"))
    throw RuntimeError(ErrorNumber::DdeNoResponse);

  service_ = owner;
  serviceName_ = serviceName;
  conversation_ = reply.arguments().constFirst().toUInt();
  linkMode_ = 2;
}

void DdeTextBox::Close() {
  if (linkMode_ == 0) return;
  // Fire and forget: a server that has gone must not hold up the close.
  QDBusMessage call = NewCall(service_, QStringLiteral("Terminate"));
  call << conversation_;
  bus_.send(call);
  linkMode_ = 0;
  conversation_ = 0;
  service_.clear();
  serviceName_.clear();
}

bool DdeTextBox::ServerReplaced() const {
  if (linkMode_ != 2) return false;
  const QString owner = BusNameOwner(bus_, serviceName_);
  return !owner.isEmpty() && owner != service_;
}

QDBusMessage DdeTextBox::Call(const QString& method, const QVariantList& arguments) const {
  if (linkMode_ != 2) throw RuntimeError(ErrorNumber::DdeNoChannel);
  QDBusMessage call = NewCall(service_, method);
  call.setArguments(arguments);
  const QDBusMessage reply = bus_.call(call, QDBus::Block, TimeoutMs());
  if (reply.type() == QDBusMessage::ErrorMessage) ThrowCallError(reply.errorName());
  if (reply.type() != QDBusMessage::ReplyMessage) throw RuntimeError(ErrorNumber::DdeServerQuit);
  return reply;
}

void DdeTextBox::ThrowCallError(const QString& errorName) const {
  if (errorName == DdeContract::ErrorRefused) throw RuntimeError(ErrorNumber::DdeRefused);
  if (errorName == DdeContract::ErrorNoConversation) throw RuntimeError(ErrorNumber::DdeConversationClosed);
  if (errorName == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
      errorName == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
      errorName == QLatin1String("org.freedesktop.DBus.Error.TimedOut")) {
    // The daemon also answers NoReply for a server that left while the call was open.
    throw RuntimeError(BusNameOwner(bus_, service_).isEmpty() ? ErrorNumber::DdeServerQuit
                                                               : ErrorNumber::DdeTimeout);
  }
  if (errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
      errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
      errorName == QLatin1String("org.freedesktop.DBus.Error.Disconnected"))
    throw RuntimeError(ErrorNumber::DdeServerQuit);
  // Anything else the server answers (an unknown method, bad arguments) is a refusal.
  throw RuntimeError(ErrorNumber::DdeRefused);
}

void DdeTextBox::LinkExecute(const QString& command) {
  Call(QStringLiteral("Execute"), {QVariant::fromValue(conversation_), command});
}

void DdeTextBox::LinkRequest() {
  const QDBusMessage reply =
      Call(QStringLiteral("Request"), {QVariant::fromValue(conversation_), linkItem_});
  if (reply.signature() != QStringLiteral("s")) throw RuntimeError(ErrorNumber::DdeRefused);
  setText(reply.arguments().constFirst().toString());
}
