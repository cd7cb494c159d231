#pragma once

#include <QDBusConnection>
#include <QString>

// The unique name that owns a bus name now (a unique name owns itself); empty when nobody
// does or the bus is not there. Never starts a program for the name.
QString BusNameOwner(const QDBusConnection& bus, const QString& name);
