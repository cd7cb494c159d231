#include "CallFaults.h"

#include <unistd.h>

bool CallFaultCounts::IsSwitch(const QString& option) {
  return option == QLatin1String("--end-after") || option == QLatin1String("--stall-after") ||
         option == QLatin1String("--refuse-at");
}

bool CallFaultCounts::Set(const QString& option, const QString& value, QString* error) {
  bool ok = false;
  const int calls = value.toInt(&ok);
  if (!ok || calls < 0) {
    *error = QStringLiteral("%1 takes a number of calls").arg(option);
    return false;
  }
  (option == QLatin1String("--end-after")     ? endAfter
   : option == QLatin1String("--stall-after") ? stallAfter
                                              : refuseAt) = calls;
  return true;
}

CallCounter::Verdict CallCounter::Count(const QString& call) {
  if (++calls_ == counts_.refuseAt) return Verdict::Refuse;
  if (counts_.endAfter >= 0 && answered_ >= counts_.endAfter) {
    if (beforeEnd_) beforeEnd_(call);
    ::_exit(3);
  }
  if (counts_.stallAfter >= 0 && answered_ >= counts_.stallAfter) return Verdict::LeaveUnanswered;
  ++answered_;
  return Verdict::Answer;
}
