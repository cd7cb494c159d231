#pragma once

#include "shared/ProgramValues.h"
#include "scripted/ScriptedDesktopServices.h"
#include "PrivateBus.h"

#include <QComboBox>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

class DdeTextBox;

#include <functional>
#include <map>
#include <memory>

// What the benchmarks run against, made once per run: a private bus with the echo peer and
// both stand-ins, a program folder holding a copy of penlark and a PENLARK.INI of 32
// profiles, the letter and an address book of 100 records, and the main window's controls
// the procedures reach (on a window of its own, with the scripted desktop).
class BenchWorld {
 public:
  BenchWorld();
  ~BenchWorld();
  BenchWorld(const BenchWorld&) = delete;
  BenchWorld& operator=(const BenchWorld&) = delete;

  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }

  // Points the procedures at a link to the address book of this many records: 100 of its
  // own, the rest made up by the stand-in (which serves every size at once). The link is
  // set up on first use. False on failure.
  bool UseAddressBook(qint64 records);
  // A fresh word processor holding the letter, attached as start-up would.
  bool RestartWord();
  // This program in place of the word processor running, attached the same way.
  bool StartWordProcessor(const QString& program, const QStringList& arguments);

  // How many method calls this process sends over the bus, and how many times the
  // configuration file is opened, while op runs once.
  struct Counts {
    int roundTrips = 0;
    int fileReads = 0;
  };
  Counts CountOf(const std::function<void()>& op);

  PrivateBus bus;
  QTemporaryDir dir;
  QString ini;          // dir/PENLARK.INI, beside the copy of penlark
  QString program;      // dir/penlark
  QString addressBook;  // dir/people.or3, the 100 records; PENLARK.INI names it
  QString letter;

  ScriptedDesktopServices desktop;
  ProgramValues pv;
  QWidget window;

  // The profile the transfer uses, in the middle of the index.
  static constexpr int kTransferSlot = 15;
  QString transferProfile;

 private:
  bool Fail(const QString& why);
  bool StartOrganizer();
  QString AddressBookOf(qint64 records) const;
  QProcess* StartAndWait(const QString& program, const QStringList& arguments, const QString& name);
  bool WriteFiles();
  void Mark(const QString& path);

  QProcess* echo_ = nullptr;
  QProcess* word_ = nullptr;
  std::map<qint64, DdeTextBox*> links_;  // by the address book's size
  QString error_;
  std::vector<std::unique_ptr<QProcess>> processes_;
};

// The world of this run; set by main.
BenchWorld& World();
void SetWorld(BenchWorld* world);
