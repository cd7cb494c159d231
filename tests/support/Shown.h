#pragma once

#include "scripted/ScriptedDesktopServices.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <ostream>

// Texts in failure messages as quoted JSON strings, control characters escaped.
void PrintTo(const QString& text, std::ostream* os);

// Every message box shown so far as "title|text|style", with "|pointer while shown" when
// withPointer, then the name of every form shown when withForms.
QStringList Shown(const ScriptedDesktopServices& desktop, bool withPointer = false,
                  bool withForms = false);

// A file's bytes ("<no file>" when it cannot be read); writing them, true when all went.
QByteArray ReadBytes(const QString& path);
bool PutBytes(const QString& path, const QByteArray& bytes);

// Runs a program to its end (two minutes at most) in the environment; its exit code, -1 when
// it did not end normally, and its standard output and error together in *out.
int RunToEnd(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
             QString* out = nullptr);
// The value of one key of a desktop entry's [Desktop Entry] group; "<missing>" when absent.
QString DesktopValue(const QString& path, const QString& key);
