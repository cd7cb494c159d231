#pragma once

#include "AddressBook.h"
#include "CallFaults.h"
#include "DdeCommand.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// The address book's end of the DDE contract (org.penlark.Dde at /dde; the adaptor is
// generated from the contract's XML). Each conversation belongs to the client connection
// that opened it and has its own section, index and match cursor; it is forgotten when
// the client terminates it or leaves the bus. Every refusal is a D-Bus error reply and
// is also written to stderr.
class DdeServer : public QObject, protected QDBusContext {
  Q_OBJECT

 public:
  struct Options {
    QString stallItem;                  // requests of this item are never answered
    QString stallCommand;               // commands of this name are never answered
    std::optional<QString> resultText;  // "RESULT" answers this instead of the number
    CallFaultCounts faults;  // the calls counted: initiates, commands, requests
  };

  DdeServer(QDBusConnection bus, std::vector<DataFile> files, Options options,
            QObject* parent = nullptr);

  // Serves a new reading of the index-th data file to the conversations opened from now on;
  // those already open keep the one they were opened on.
  void ReplaceFile(size_t index, DataFile file);
  // Called before each Initiate is answered (a copy of a remote address book brought up to
  // date); the Initiate is answered when the gate calls what it is given.
  void SetInitiateGate(std::function<void(std::function<void()>)> gate) { gate_ = std::move(gate); }

  // The contract's methods, called by the adaptor.
  uint Initiate(const QString& topic);
  void Execute(uint conversation, const QString& command);
  QString Request(uint conversation, const QString& item);
  void Terminate(uint conversation);

 private:
  struct Conversation {
    QString client;  // unique bus name of the connection that opened it
    std::shared_ptr<const DataFile> file;
    DdeCursor cursor;
  };

  Conversation* Find(uint id);  // of the calling client; sends the error reply when not
  void Refuse(const QString& errorName, const QString& why);
  void ClientLeft(const QString& client);

  // The conversation's id, or 0 with *why.
  uint Open(const QString& topic, const QString& client, QString* why);
  bool RunCommand(Conversation& conversation, const QString& command);
  // Counts the call; true when it is refused or left unanswered (the program may end instead).
  bool Faulted(const QString& call);

  QDBusConnection bus_;
  std::vector<std::shared_ptr<const DataFile>> files_;
  std::function<void(std::function<void()>)> gate_;
  Options options_;
  std::map<uint, Conversation> conversations_;
  uint nextId_ = 1;
  CallCounter calls_;
  QDBusServiceWatcher* clients_;
};
