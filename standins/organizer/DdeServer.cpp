#include "DdeServer.h"

#include "DdeContract.h"

#include <QDBusMessage>

#include <cstdio>

namespace {

void Report(const QString& line) {
  std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(line));
  std::fflush(stderr);
}

}  // namespace

DdeServer::DdeServer(QDBusConnection bus, std::vector<DataFile> files, Options options,
                     QObject* parent)
    : QObject(parent),
      bus_(std::move(bus)),
      options_(std::move(options)),
      calls_(options_.faults,
             [](const QString& call) { Report(QStringLiteral("ending without answering %1").arg(call)); }),
      clients_(new QDBusServiceWatcher(this)) {
  for (DataFile& file : files) files_.push_back(std::make_shared<const DataFile>(std::move(file)));
  clients_->setConnection(bus_);
  clients_->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
  connect(clients_, &QDBusServiceWatcher::serviceUnregistered, this, &DdeServer::ClientLeft);
}

void DdeServer::Refuse(const QString& errorName, const QString& why) {
  Report(why);
  sendErrorReply(errorName, why);
}

DdeServer::Conversation* DdeServer::Find(uint id) {
  auto it = conversations_.find(id);
  if (it == conversations_.end() || it->second.client != message().service()) {
    Refuse(DdeContract::ErrorNoConversation, QStringLiteral("no conversation %1 for %2")
                                                 .arg(id).arg(message().service()));
    return nullptr;
  }
  return &it->second;
}

bool DdeServer::Faulted(const QString& call) {
  switch (calls_.Count(call)) {
    case CallCounter::Verdict::Answer:
      return false;
    case CallCounter::Verdict::Refuse:
      Refuse(DdeContract::ErrorRefused, QStringLiteral("refusing call %1 (%2)").arg(calls_.Calls()).arg(call));
      return true;
    case CallCounter::Verdict::LeaveUnanswered:
      setDelayedReply(true);
      Report(QStringLiteral("not answering %1").arg(call));
      return true;
  }
  return true;
}

void DdeServer::ReplaceFile(size_t index, DataFile file) {
  files_.at(index) = std::make_shared<const DataFile>(std::move(file));
}

uint DdeServer::Initiate(const QString& topic) {
  if (Faulted(QStringLiteral("Initiate"))) return 0;
  QString why;
  if (!gate_) {
    const uint id = Open(topic, message().service(), &why);
    if (!id) Refuse(DdeContract::ErrorTopicRefused, why);
    return id;
  }
  setDelayedReply(true);
  gate_([this, call = message(), topic] {
    QString why;
    const uint id = Open(topic, call.service(), &why);
    if (!id) Report(why);
    bus_.send(id ? call.createReply(id) : call.createErrorReply(DdeContract::ErrorTopicRefused, why));
  });
  return 0;
}

uint DdeServer::Open(const QString& topic, const QString& client, QString* why) {
  for (const auto& file : files_) {
    if (!SameFile(*file, topic)) continue;
    const uint id = nextId_++;
    Conversation conversation;
    conversation.client = client;
    conversation.file = file;
    conversations_.emplace(id, conversation);
    clients_->addWatchedService(client);
    Report(QStringLiteral("conversation %1 opened by %2 on %3").arg(id).arg(client, file->path));
    return id;
  }
  *why = QStringLiteral("topic not served: \"%1\"").arg(topic);
  return 0;
}

void DdeServer::Execute(uint id, const QString& command) {
  if (Faulted(command)) return;
  Conversation* conversation = Find(id);
  if (!conversation) return;
  if (!RunCommand(*conversation, command))
    Refuse(DdeContract::ErrorRefused,
           QStringLiteral("conversation %1: command not understood: %2").arg(id).arg(command));
}

bool DdeServer::RunCommand(Conversation& c, const QString& text) {
  const std::optional<DdeCommand> command = ParseDdeCommand(text);
  if (!command) return false;
  if (!options_.stallCommand.isEmpty() && command->name == options_.stallCommand) {
    setDelayedReply(true);
    Report(QStringLiteral("not answering %1").arg(text));
    return true;
  }
  RunDdeCommand(c.cursor, *c.file, *command);
  return true;
}

QString DdeServer::Request(uint id, const QString& item) {
  if (Faulted(item)) return {};
  Conversation* conversation = Find(id);
  if (!conversation) return {};
  if (!options_.stallItem.isEmpty() && item == options_.stallItem) {
    // Left unanswered on purpose: the client's timeout is what is being tried.
    setDelayedReply(true);
    Report(QStringLiteral("conversation %1: not answering \"%2\"").arg(id).arg(item));
    return {};
  }
  if (item == QLatin1String("RESULT") && options_.resultText) return *options_.resultText;
  const std::optional<QString> value = RequestDdeItem(conversation->cursor, item);
  if (!value) {
    Refuse(DdeContract::ErrorRefused,
           QStringLiteral("conversation %1: unknown item \"%2\"").arg(id).arg(item));
    return {};
  }
  return *value;
}

void DdeServer::Terminate(uint id) {
  if (!Find(id)) return;
  conversations_.erase(id);
  Report(QStringLiteral("conversation %1 ended (terminated)").arg(id));
}

void DdeServer::ClientLeft(const QString& client) {
  clients_->removeWatchedService(client);
  for (auto it = conversations_.begin(); it != conversations_.end();) {
    if (it->second.client == client) {
      Report(QStringLiteral("conversation %1 ended (client left)").arg(it->first));
      it = conversations_.erase(it);
    } else {
      ++it;
    }
  }
}
