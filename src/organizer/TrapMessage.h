#pragma once

#include <QString>

class RuntimeError;
class DesktopServices;

// The text the address-book procedures' error traps show in their "Fatal Error" box:
// "Error N has occured in module \"MODULE\"" + 10,13,10,13 + "N - description", the
// number in decimal without blanks. module carries its own full stop ("SearchOrganizer.").
QString TrapMessageText(const QString& module, const RuntimeError& error);

// Shows that text in the "Fatal Error" box (OK, critical icon).
void ShowTrapError(DesktopServices& desktop, const QString& module, const RuntimeError& error);
