#include "CardDavClient.h"

#include "DavMultistatus.h"
#include "Netrc.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

constexpr int kTimeoutMs = 60000;  // no byte for this long: the server is gone (some take 20 s to list 10,000 cards)
constexpr int kConversationWaitMs = 1500;  // the longest a conversation waits for a check
constexpr size_t kBatch = 500;           // cards asked for in one multiget

const QByteArray kDiscoverBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop>"
    "<d:resourcetype/><d:current-user-principal/><c:addressbook-home-set/></d:prop></d:propfind>";
const QByteArray kCheckBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:cs=\"http://calendarserver.org/ns/\"><d:prop>"
    "<d:resourcetype/><d:sync-token/><cs:getctag/></d:prop></d:propfind>";
const QByteArray kListBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:resourcetype/><d:getetag/></d:prop></d:propfind>";

void Report(const QString& line) {
  std::fprintf(stderr, "penlark-organizer: %s\n", qPrintable(line));
  std::fflush(stderr);
}

QString Shown(const QUrl& url) { return url.toDisplayString(); }

}  // namespace

CardDavClient::CardDavClient(QUrl url, QString copyPath, QObject* parent)
    : QObject(parent), url_(std::move(url)), copyPath_(std::move(copyPath)),
      network_(new QNetworkAccessManager(this)) {
  connect(network_, &QNetworkAccessManager::authenticationRequired, this,
          [](QNetworkReply* reply, QAuthenticator* authenticator) {
            // Offered once per request: a second ask means the login was refused.
            if (reply->property("penlark-login-offered").toBool()) return;
            reply->setProperty("penlark-login-offered", true);
            QFile file(NetrcPath());
            if (!file.open(QIODevice::ReadOnly)) return;
            if (const std::optional<NetrcLogin> login = NetrcLookup(file.readAll(), reply->url().host())) {
              reply->setProperty("penlark-login-found", true);
              authenticator->setUser(login->login);
              authenticator->setPassword(login->password);
            }
          });
}

CardDavClient::~CardDavClient() = default;

QString CardDavClient::CheckUrl(const QUrl& url) {
  if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) ||
      url.host().isEmpty())
    return QStringLiteral("--carddav needs an http:// or https:// URL, not \"%1\"").arg(url.toString());
  if (!url.userInfo().isEmpty())
    return QStringLiteral("--carddav: no login in the URL, where other users can read it; put it in the netrc "
                          "file (%1)").arg(NetrcPath());
  return {};
}

bool CardDavClient::Update(QString* error) {
  QEventLoop loop;
  bool ok = false;
  connect(this, &CardDavClient::Finished, &loop, [&](bool done, const QString& whyNot) {
    ok = done;
    *error = whyNot;
    loop.quit();
  });
  Start();
  loop.exec();
  starting_ = false;
  return ok;
}

void CardDavClient::BeforeConversation(std::function<void()> proceed) {
  if (!running_ && lastCheck_.isValid() && lastCheck_.elapsed() < checkInterval_) return proceed();
  auto once = std::make_shared<std::function<void()>>(std::move(proceed));
  waiting_.push_back(once);
  QTimer::singleShot(kConversationWaitMs, this, [once] {
    if (!*once) return;
    const std::function<void()> go = std::exchange(*once, nullptr);
    go();
  });
  if (!running_) Start();
}

void CardDavClient::Start() {
  running_ = true;
  changed_ = false;
  lastCheck_.start();
  if (collection_.isEmpty()) Discover(url_, 0);
  else Check();
}

void CardDavClient::Discover(const QUrl& url, int hops) {
  Send("PROPFIND", url, "0", kDiscoverBody, [this, url, hops](const QUrl& base, const std::vector<DavResponse>& rs) {
    if (!rs.empty() && rs.front().IsA(kCardDav + QStringLiteral("addressbook"))) {
      collection_ = base;
      return Check();
    }
    // A card, a calendar or any other kind of resource is not followed to the account's
    // address books: the URL was meant as an address book and is not one.
    const DavProperty* type = rs.empty() ? nullptr : rs.front().Find(kDav + QStringLiteral("resourcetype"));
    const QStringList plain{kDav + QStringLiteral("collection"), kDav + QStringLiteral("principal")};
    if (type && (!type->children.contains(plain.front()) ||
                 std::any_of(type->children.begin(), type->children.end(),
                             [&](const QString& kind) { return !plain.contains(kind); })))
      return Fail(QStringLiteral("%1 is not an address book").arg(Shown(url)));
    const DavProperty* home = rs.empty() ? nullptr : rs.front().Find(kCardDav + QStringLiteral("addressbook-home-set"));
    if (home && !home->hrefs.isEmpty()) return FindInHome(base.resolved(QUrl(home->hrefs.front())));
    const DavProperty* principal = rs.empty() ? nullptr : rs.front().Find(kDav + QStringLiteral("current-user-principal"));
    if (principal && !principal->hrefs.isEmpty() && hops < 2) {
      const QUrl next = base.resolved(QUrl(principal->hrefs.front()));
      if (next.adjusted(QUrl::StripTrailingSlash) != url.adjusted(QUrl::StripTrailingSlash))
        return Discover(next, hops + 1);
    }
    Fail(QStringLiteral("%1 is not an address book, and names no principal or address-book home that "
                        "leads to one").arg(Shown(url)));
  });
}

void CardDavClient::FindInHome(const QUrl& home) {
  Send("PROPFIND", home, "1", kListBody, [this, home](const QUrl& base, const std::vector<DavResponse>& rs) {
    std::vector<QUrl> books;
    for (const DavResponse& r : rs)
      if (r.IsA(kCardDav + QStringLiteral("addressbook"))) books.push_back(base.resolved(QUrl(r.href)));
    std::sort(books.begin(), books.end(), [](const QUrl& a, const QUrl& b) { return a.path() < b.path(); });
    if (books.empty()) return Fail(QStringLiteral("the account's home %1 holds no address book").arg(Shown(home)));
    if (books.size() > 1) {
      QStringList others;
      for (size_t i = 1; i < books.size(); ++i) others << Shown(books[i]);
      Report(QStringLiteral("using the address book %1; give the URL of another to use it instead: %2")
                 .arg(Shown(books.front()), others.join(QStringLiteral(", "))));
    }
    collection_ = books.front();
    Check();
  });
}

void CardDavClient::Check() {
  Send("PROPFIND", collection_, "0", kCheckBody, [this](const QUrl&, const std::vector<DavResponse>& rs) {
    if (rs.empty() || !rs.front().IsA(kCardDav + QStringLiteral("addressbook")))
      return Fail(QStringLiteral("%1 is not an address book").arg(Shown(collection_)));
    const DavProperty* token = rs.front().Find(kDav + QStringLiteral("sync-token"));
    const DavProperty* ctag = rs.front().Find(kCalendarServer + QStringLiteral("getctag"));
    const QString version = (token ? token->text.trimmed() : QString()) + u'\n' + (ctag ? ctag->text.trimmed() : QString());
    // Without either, every check lists the ETags.
    if (written_ && version == version_ && version != QLatin1String("\n")) return Done(false);
    List(version);
  });
}

void CardDavClient::List(const QString& version) {
  // An addressbook-query for every card's ETag answers far sooner than a PROPFIND of depth 1
  // on some servers; the first time it brings the cards too. A server that refuses the
  // query is listed with the PROPFIND.
  QByteArray query =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<c:addressbook-query xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
      "<d:prop><d:getetag/>" + QByteArray(cards_.empty() ? "<c:address-data/>" : "") +
      "</d:prop><c:filter/></c:addressbook-query>";
  auto listed = [this, version](const QUrl& base, const std::vector<DavResponse>& rs) {
    const QString self = KeyOf(base, collection_.path(QUrl::FullyEncoded));
    std::set<QString> keys;
    std::vector<QString> wanted;
    for (const DavResponse& r : rs) {
      const QString key = KeyOf(base, r.href);
      if (key == self || r.IsA(kDav + QStringLiteral("collection")) || r.status != 200) continue;
      keys.insert(key);
      const DavProperty* etag = r.Find(kDav + QStringLiteral("getetag"));
      if (const DavProperty* data = r.Find(kCardDav + QStringLiteral("address-data"))) {
        Keep(key, r.href, etag, *data);
        continue;
      }
      auto it = cards_.find(key);
      if (it == cards_.end() || !etag || it->second.etag != etag->text) wanted.push_back(r.href);
    }
    for (auto it = cards_.begin(); it != cards_.end();) {
      if (keys.count(it->first)) {
        ++it;
      } else {
        it = cards_.erase(it);
        changed_ = true;
      }
    }
    Fetch(std::move(wanted), 0, version);
  };
  Send("REPORT", collection_, "1", query, listed,
       [this, listed] { Send("PROPFIND", collection_, "1", kListBody, listed); });
}

void CardDavClient::Keep(const QString& key, const QString& href, const DavProperty* etag, const DavProperty& data) {
  QByteArray bytes = data.text.toUtf8();
  if (!bytes.endsWith('\n')) bytes += "\r\n";
  cards_[key] = Card{href, etag ? etag->text : QString(), std::move(bytes)};
  changed_ = true;
}

void CardDavClient::Fetch(std::vector<QString> hrefs, size_t from, const QString& version) {
  if (from >= hrefs.size()) return Write(version);
  QByteArray body =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<c:addressbook-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
      "<d:prop><d:getetag/><c:address-data/></d:prop>";
  const size_t to = std::min(hrefs.size(), from + kBatch);
  for (size_t i = from; i < to; ++i) body += "<d:href>" + hrefs[i].toHtmlEscaped().toUtf8() + "</d:href>";
  body += "</c:addressbook-multiget>";
  Send("REPORT", collection_, "1", body,
       [this, hrefs = std::move(hrefs), to, version](const QUrl& base, const std::vector<DavResponse>& rs) mutable {
         for (const DavResponse& r : rs) {
           const QString key = KeyOf(base, r.href);
           const DavProperty* data = r.Find(kCardDav + QStringLiteral("address-data"));
           if (r.status == 404) {
             changed_ = cards_.erase(key) > 0 || changed_;  // gone since it was listed
           } else if (!data) {
             return Fail(QStringLiteral("%1 sent no card for %2").arg(Shown(collection_), r.href));
           } else {
             Keep(key, r.href, r.Find(kDav + QStringLiteral("getetag")), *data);
           }
         }
         Fetch(std::move(hrefs), to, version);
       });
}

void CardDavClient::Write(const QString& version) {
  if (written_ && !changed_) {
    version_ = version;
    return Done(false);
  }
  QSaveFile copy(copyPath_);
  bool ok = copy.open(QIODevice::WriteOnly);
  for (auto it = cards_.begin(); ok && it != cards_.end(); ++it) ok = copy.write(it->second.data) == it->second.data.size();
  if (!ok || !copy.commit())
    return Fail(QStringLiteral("%1: cannot write the local copy: %2").arg(copyPath_, copy.errorString()));
  version_ = version;
  written_ = true;
  if (!starting_)
    Report(QStringLiteral("%1: brought up to date from %2 (%3 cards)").arg(copyPath_, Shown(collection_)).arg(cards_.size()));
  Done(true);
}

void CardDavClient::Done(bool replaced) {
  running_ = false;
  if (replaced) Q_EMIT CopyReplaced();
  Q_EMIT Finished(true, {});
  for (const auto& once : std::exchange(waiting_, {}))
    if (*once) std::exchange(*once, nullptr)();
}

void CardDavClient::Fail(const QString& why) {
  running_ = false;
  if (!starting_) Report(QStringLiteral("%1 not brought up to date, still serving the copy: %2").arg(copyPath_, why));
  Q_EMIT Finished(false, why);
  for (const auto& once : std::exchange(waiting_, {}))
    if (*once) std::exchange(*once, nullptr)();
}

QString CardDavClient::KeyOf(const QUrl& base, const QString& href) const {
  return base.resolved(QUrl(href)).adjusted(QUrl::StripTrailingSlash).path(QUrl::FullyDecoded);
}

void CardDavClient::Send(const QByteArray& verb, const QUrl& url, const QByteArray& depth, const QByteArray& body,
                         Then then, std::function<void()> refused) {
  QNetworkRequest request(url);
  request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/xml; charset=utf-8"));
  request.setRawHeader("Depth", depth);
  request.setTransferTimeout(kTimeoutMs);
  QNetworkReply* reply = network_->sendCustomRequest(request, verb, body);
  connect(reply, &QNetworkReply::finished, this, [this, reply, verb, url, then = std::move(then), refused] {
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    if (reply->error() == QNetworkReply::AuthenticationRequiredError || status == 401) {
      if (!reply->property("penlark-login-found").toBool())
        return Fail(QStringLiteral("%1 asks for a login, and the netrc file %2 has none for %3")
                        .arg(Shown(url), NetrcPath(), url.host()));
      return Fail(QStringLiteral("%1 refused the login for %2 in the netrc file %3")
                      .arg(Shown(url), url.host(), NetrcPath()));
    }
    if (reply->error() == QNetworkReply::OperationCanceledError)
      return Fail(QStringLiteral("%1 did not answer within %2 s").arg(Shown(url)).arg(kTimeoutMs / 1000));
    if (status == 0) return Fail(QStringLiteral("cannot reach %1: %2").arg(Shown(url), reply->errorString()));
    if (status != 207 && refused && status >= 400 && status < 500) return refused();
    if (status != 207)
      return Fail(QStringLiteral("%1 answered %2 %3 to %4").arg(Shown(url)).arg(status).arg(reason, verb));
    QString error;
    const std::optional<std::vector<DavResponse>> responses = ParseMultistatus(reply->readAll(), &error);
    if (!responses) return Fail(QStringLiteral("%1 sent a malformed answer to %2: %3").arg(Shown(url), verb, error));
    then(reply->url(), *responses);
  });
}
