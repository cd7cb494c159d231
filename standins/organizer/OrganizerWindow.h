#pragma once

#include "AddressBook.h"

#include <QCoreApplication>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

// The address book's window, for a person who opens a contacts file from the file
// manager and has no terminal to read: it says what is served (files, sections, record
// counts), and Quit stops serving. Only with --window (the desktop entry passes it):
// started without it, the address book runs windowless, as the tests and benchmarks
// start it.

// A QApplication when the arguments hold --window (which is taken out of them, so the
// other switches parse as always), else a QCoreApplication.
std::unique_ptr<QCoreApplication> MakeOrganizerApplication(int& argc, char** argv);

// The window for the files served under busName; nullptr without --window.
std::unique_ptr<QWidget> MakeOrganizerWindow(const std::vector<DataFile>& files, const QString& busName);

// With --window, shows why the address book stops in a box, as nobody reads stderr.
void ShowOrganizerFailure(const QString& message);
