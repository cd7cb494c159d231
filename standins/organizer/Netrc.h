#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The login for a host from a netrc file, read as curl reads one: blank-separated words,
// "machine NAME" (the host name, ignoring case, no port), "default" (any host; curl takes it
// only after no machine matched, wherever it stands), "login", "password", "account"
// (ignored) and "macdef" (its lines up to an empty one skipped). A word may be quoted, with
// \" \\ \n \r \t inside; a line starting with "#" is a comment. The first entry that names
// the host wins; the entry ends at the next "machine" or "default".
struct NetrcLogin {
  QString login;
  QString password;
};

std::optional<NetrcLogin> NetrcLookup(const QByteArray& text, const QString& host);

// $NETRC when set, else ~/.netrc.
QString NetrcPath();
