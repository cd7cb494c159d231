#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;
struct DavProperty;
struct DavResponse;

// Keeps a vCard file as the local copy of one address-book collection on a CardDAV server
// (RFC 6352), so the address book is served as any .vcf and keeps working offline.
//
// The URL may be the collection's, a principal's or the server's: the collection is found
// through DAV:current-user-principal and CARDDAV:addressbook-home-set (PROPFIND); of several
// address books in the home set, the first by path is used, and the others are named on
// stderr. The cards come with the first addressbook-query REPORT, later only those whose
// ETag is new, by addressbook-multiget;
// whether anything changed at all is told by the collection's sync-token and getctag. The
// copy is replaced at once (QSaveFile): the cards in path order, each as the server sent it.
//
// Logins come from the netrc file (Netrc.h) for the URL's host, given when the server asks
// for one; a login in the URL is refused. TLS is verified against the system's certificates.
class CardDavClient : public QObject {
  Q_OBJECT

 public:
  CardDavClient(QUrl url, QString copyPath, QObject* parent = nullptr);
  ~CardDavClient() override;

  // Why the URL cannot be used (not http or https, a login in it); empty when it can.
  static QString CheckUrl(const QUrl& url);

  // Brings the copy up to date and waits for it; false with *error (a refused login, no
  // answer, a URL that is not an address book, a malformed answer, a copy not written).
  bool Update(QString* error);

  // Before a conversation opens: when the last check is older than the interval, checks for
  // changes; calls proceed once the check is done, or after a short wait at most, so a server
  // that is slow or gone never holds up the conversation (the check goes on behind it).
  void BeforeConversation(std::function<void()> proceed);
  void SetCheckInterval(int milliseconds) { checkInterval_ = milliseconds; }

 Q_SIGNALS:
  void CopyReplaced();                                 // the copy was written anew
  void Finished(bool ok, const QString& whyNot);       // a check or update ended

 private:
  struct Card {
    QString href;  // as the server sends it
    QString etag;
    QByteArray data;
  };
  using Then = std::function<void(const QUrl& base, const std::vector<DavResponse>& responses)>;

  void Start();
  void Discover(const QUrl& url, int hops);
  void FindInHome(const QUrl& home);
  void Check();
  void List(const QString& version);
  void Fetch(std::vector<QString> hrefs, size_t from, const QString& version);
  void Write(const QString& version);
  void Done(bool replaced);
  void Fail(const QString& why);
  void Keep(const QString& key, const QString& href, const DavProperty* etag, const DavProperty& data);
  // then gets a multistatus answer; any other is a failure, except that refused, when
  // given, is called instead for an answer 4xx other than 401.
  void Send(const QByteArray& verb, const QUrl& url, const QByteArray& depth, const QByteArray& body, Then then,
            std::function<void()> refused = {});
  QString KeyOf(const QUrl& base, const QString& href) const;  // the decoded path

  QUrl url_;
  QString copyPath_;
  QNetworkAccessManager* network_;
  QUrl collection_;
  QString version_;  // sync-token and getctag of the copy written last
  bool written_ = false;
  bool changed_ = false;
  std::map<QString, Card> cards_;  // by decoded path
  bool running_ = false;
  bool starting_ = true;  // Update() is waiting: no short timeouts, no reports
  QElapsedTimer lastCheck_;
  int checkInterval_ = 60000;
  std::vector<std::shared_ptr<std::function<void()>>> waiting_;
};
