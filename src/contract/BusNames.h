#pragma once

#include <QString>

// A name as one bus name element: characters an element cannot hold become "_" ("-" too,
// unless keepHyphen), and "_" goes in front of one that would start with a digit or be
// empty. Header-only and Qt Core only, for the contract headers the servers share.
inline QString BusNameElement(const QString& name, bool keepHyphen) {
  QString element;
  for (const QChar c : name) {
    const bool allowed = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                         (c >= u'0' && c <= u'9') || c == u'_' || (keepHyphen && c == u'-');
    element += allowed ? c : QChar(u'_');
  }
  if (element.isEmpty() || element.front().isDigit()) element.prepend(u'_');
  return element;
}
