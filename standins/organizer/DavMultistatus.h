#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

// The parts of a WebDAV multistatus answer (RFC 4918) a CardDAV client reads, read with
// Qt's XML stream reader. Names are "{namespace}local".
struct DavProperty {
  QString text;          // all the text inside, as sent
  QStringList children;  // names of the elements directly inside (resourcetype's kinds)
  QStringList hrefs;     // the texts of the DAV:href elements inside (a principal, a home)
};

struct DavResponse {
  QString href;  // as sent: percent-encoded, usually a path
  int status = 200;  // the response's own status, where it gives one (a multiget's 404)
  std::map<QString, DavProperty> properties;  // those found (a propstat with status 200)

  const DavProperty* Find(const QString& name) const;
  bool IsA(const QString& kind) const;  // whether resourcetype names the kind
};

inline const QString kDav = QStringLiteral("{DAV:}");
inline const QString kCardDav = QStringLiteral("{urn:ietf:params:xml:ns:carddav}");
inline const QString kCalendarServer = QStringLiteral("{http://calendarserver.org/ns/}");

// The responses of a DAV:multistatus document; nothing, with *error, for anything else.
std::optional<std::vector<DavResponse>> ParseMultistatus(const QByteArray& xml, QString* error);
