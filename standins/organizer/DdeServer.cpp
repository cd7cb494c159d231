#include "DdeServer.h"

#include "platform/DdeContract.h"

#include <QDBusMessage>
#include <QRegularExpression>

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
      files_(std::move(files)),
      options_(std::move(options)),
      clients_(new QDBusServiceWatcher(this)) {
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

uint DdeServer::Initiate(const QString& topic) {
  for (const DataFile& file : files_) {
    if (!SameFile(file, topic)) continue;
    const uint id = nextId_++;
    Conversation conversation;
    conversation.client = message().service();
    conversation.file = &file;
    conversations_.emplace(id, conversation);
    clients_->addWatchedService(conversation.client);
    Report(QStringLiteral("conversation %1 opened by %2 on %3")
               .arg(id).arg(conversation.client, file.path));
    return id;
  }
  Refuse(DdeContract::ErrorTopicRefused, QStringLiteral("topic not served: \"%1\"").arg(topic));
  return 0;
}

void DdeServer::Execute(uint id, const QString& command) {
  Conversation* conversation = Find(id);
  if (!conversation) return;
  if (!RunCommand(*conversation, command))
    Refuse(DdeContract::ErrorRefused,
           QStringLiteral("conversation %1: command not understood: %2").arg(id).arg(command));
}

bool DdeServer::RunCommand(Conversation& c, const QString& command) {
  // Exactly [Name("argument")]: no blanks, one command, no quote inside the argument.
  static const QRegularExpression syntax(
      QStringLiteral(R"re(\A\[(SelectSection|SelectIndex|Find)\("([^"]*)"\)\]\z)re"));
  const QRegularExpressionMatch match = syntax.match(command);
  if (!match.hasMatch()) return false;
  const QString name = match.captured(1);
  const QString argument = match.captured(2);
  if (!options_.stallCommand.isEmpty() && name == options_.stallCommand) {
    setDelayedReply(true);
    Report(QStringLiteral("not answering %1").arg(command));
    return true;
  }

  if (name == QLatin1String("SelectSection")) {
    c.section = c.file->FindSection(argument);
    c.index = nullptr;
    c.hasCurrent = false;
    c.result = c.section ? 1 : 0;
  } else if (name == QLatin1String("SelectIndex")) {
    c.index = nullptr;
    if (c.section && argument == QLatin1String("LastName")) c.index = &c.section->byLastName;
    if (c.section && argument == QLatin1String("Company")) c.index = &c.section->byCompany;
    c.hasCurrent = false;
    c.result = c.index ? 1 : 0;
  } else if (argument == QLatin1String("<NEXT>")) {
    if (c.hasCurrent && c.cursor + 1 < c.last) {
      ++c.cursor;
      c.result = static_cast<long long>(c.cursor - c.first);
    } else {
      c.hasCurrent = false;
      c.result = -1;
    }
  } else {
    c.hasCurrent = false;
    c.result = -1;
    if (c.index) {
      std::tie(c.first, c.last) = c.index->PrefixRange(argument);
      if (c.first < c.last) {
        c.cursor = c.first;
        c.hasCurrent = true;
        c.result = 0;
      }
    }
  }
  return true;
}

QString DdeServer::Request(uint id, const QString& item) {
  Conversation* conversation = Find(id);
  if (!conversation) return {};
  if (!options_.stallItem.isEmpty() && item == options_.stallItem) {
    // Left unanswered on purpose: the client's timeout is what is being tried.
    setDelayedReply(true);
    Report(QStringLiteral("conversation %1: not answering \"%2\"").arg(id).arg(item));
    return {};
  }
  if (item == QLatin1String("RESULT"))
    return options_.resultText.value_or(QString::number(conversation->result));
  const int field = FieldIdOf(item);
  if (field < 0) {
    Refuse(DdeContract::ErrorRefused,
           QStringLiteral("conversation %1: unknown item \"%2\"").arg(id).arg(item));
    return {};
  }
  if (!conversation->hasCurrent) return {};
  const Section& section = *conversation->section;
  return section.records[conversation->index->RecordAt(conversation->cursor)].Field(field);
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
