#pragma once

#include <QString>

// The widget (or action) with its objectName set, for building a form's controls in one
// expression each.
template <typename T>
T* Named(T* object, const QString& name) {
  object->setObjectName(name);
  return object;
}

template <typename T>
T* Named(T* object, const char* name) {
  return Named(object, QString::fromLatin1(name));
}
