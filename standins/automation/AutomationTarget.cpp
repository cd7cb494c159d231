#include "AutomationTarget.h"

#include "automationadaptor.h"
#include "classfactoryadaptor.h"

#include "AutomationContract.h"

#include <QDBusArgument>
#include <QDBusMessage>

namespace {

QVariant Plain(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QDBusVariant>())
    return qvariant_cast<QDBusVariant>(value).variant();
  return value;
}

QString Describe(const QString& member, const QVariantList& positional, const QVariantMap& named) {
  QStringList parts;
  for (const QVariant& value : positional) parts << Plain(value).toString();
  for (auto it = named.cbegin(); it != named.cend(); ++it)
    parts << it.key() + u'=' + Plain(it.value()).toString();
  return member + u'(' + parts.join(QStringLiteral(", ")) + u')';
}

}  // namespace

bool AutomationTarget::Faulted(const QString& call) {
  if (!faults_ || faults_->Count(call) == CallCounter::Verdict::Answer) return false;
  setDelayedReply(true);
  Q_EMIT Called(QStringLiteral("%1 left unanswered").arg(call));
  return true;
}

QDBusVariant AutomationTarget::GetProperty(const QString& name) {
  if (Faulted(name)) return {};
  try {
    const QVariant value = Property(name);
    Q_EMIT Called(name);
    return QDBusVariant(value);
  } catch (const AutomationFault& fault) {
    Refuse(name, fault);
    return QDBusVariant(QString());
  }
}

QVariantList AutomationTarget::Invoke(const QString& method, const QVariantList& positional,
                                      const QVariantMap& named) {
  QVariantList plainPositional;
  for (const QVariant& value : positional) plainPositional << Plain(value);
  QVariantMap plainNamed;
  for (auto it = named.cbegin(); it != named.cend(); ++it) plainNamed.insert(it.key(), Plain(it.value()));
  const QString call = Describe(method, plainPositional, plainNamed);
  if (Faulted(call)) return {};
  try {
    const QVariant result = Method(method, plainPositional, plainNamed);
    Q_EMIT Called(call);
    return result.isValid() ? QVariantList{result} : QVariantList{};
  } catch (const AutomationFault& fault) {
    Refuse(call, fault);
    return {};
  }
}

void AutomationTarget::Refuse(const QString& call, const AutomationFault& fault) {
  Q_EMIT Called(QStringLiteral("%1 failed: %2 %3").arg(call).arg(fault.number).arg(fault.description));
  sendErrorReply(AutomationContract::ErrorPrefix + QString::number(fault.number), fault.description);
}

QDBusObjectPath AutomationTarget::CreateObject() { return QDBusObjectPath(path_); }

bool AutomationTarget::Publish(QDBusConnection& bus, const QString& path, bool creatable) {
  new AutomationAdaptor(this);
  if (creatable) new ClassFactoryAdaptor(this);
  path_ = path;
  return bus.registerObject(path, this);
}

QVariantList BindArguments(const QStringList& parameters, const QVariantList& positional,
                           const QVariantMap& named) {
  if (positional.size() > parameters.size())
    throw AutomationFault{450, QStringLiteral("Wrong number of arguments or invalid property assignment")};
  QVariantList bound(parameters.size());
  for (qsizetype i = 0; i < positional.size(); ++i) bound[i] = positional[i];
  for (auto it = named.cbegin(); it != named.cend(); ++it) {
    qsizetype index = parameters.size() - 1;
    while (index >= 0 && parameters[index].compare(it.key(), Qt::CaseInsensitive) != 0) --index;
    if (index < 0 || bound[index].isValid())
      throw AutomationFault{448, QStringLiteral("Named argument not found")};
    bound[index] = it.value();
  }
  return bound;
}

QVariant Required(const QVariant& argument) {
  if (!argument.isValid()) throw AutomationFault{449, QStringLiteral("Argument not optional")};
  return argument;
}

void UnknownMember() {
  throw AutomationFault{438, QStringLiteral("Object doesn't support this property or method")};
}
