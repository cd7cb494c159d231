#pragma once

#include <QString>

#include <exception>
#include <string>

// A numbered run-time error: the one exception of the program. The platform layer throws
// it; the procedures that have an error trap catch it and build their messages from
// number() and description(). Nothing lets it escape into Qt's event loop.
class RuntimeError : public std::exception {
 public:
  // An empty description takes the standard text for the number.
  explicit RuntimeError(int number, QString description = {});

  int number() const { return number_; }
  const QString& description() const { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int number_;
  QString description_;
  std::string what_;
};

// The standard description of a run-time error number: 5 "Invalid procedure call or
// argument", 53 "File not found", 75 "Path/File access error", 76 "Path not found",
// 282 "No foreign application responded to a DDE initiate", 285 "Foreign application
// won't perform DDE method or operation", 286 "Timeout occurred while waiting for DDE
// response", 429 "ActiveX component can't create object", 440 "Automation error", the
// other DDE numbers 280 to 298, and so on. An unknown number gives
// "Application-defined or object-defined error".
QString StandardErrorDescription(int number);

// A number as the BASIC Str function writes it: one leading blank when it is not
// negative (" 53"), the minus sign otherwise ("-5").
QString StrNumber(long long number);
