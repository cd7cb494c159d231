#include "DavMultistatus.h"

#include <QXmlStreamReader>

namespace {

QString NameOf(const QXmlStreamReader& xml) {
  return u'{' + xml.namespaceUri().toString() + u'}' + xml.name().toString();
}

// "HTTP/1.1 404 Not Found": 404.
int StatusCode(const QString& line) { return line.simplified().section(u' ', 1, 1).toInt(); }

// Reads the element the reader stands on, to its end.
DavProperty ReadProperty(QXmlStreamReader& xml) {
  DavProperty property;
  int depth = 0;
  bool inHref = false;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      if (depth == 0) property.children << NameOf(xml);
      ++depth;
      inHref = NameOf(xml) == kDav + QStringLiteral("href");
      if (inHref) property.hrefs << QString();
    } else if (token == QXmlStreamReader::EndElement) {
      inHref = false;
      if (depth-- == 0) break;
    } else if (token == QXmlStreamReader::Characters) {
      property.text += xml.text();
      if (inHref) property.hrefs.last() += xml.text().trimmed();
    }
  }
  return property;
}

void ReadPropstat(QXmlStreamReader& xml, DavResponse& response) {
  std::map<QString, DavProperty> properties;
  int status = 0;
  while (xml.readNextStartElement()) {
    const QString name = NameOf(xml);
    if (name == kDav + QStringLiteral("prop")) {
      while (xml.readNextStartElement()) {
        const QString property = NameOf(xml);
        properties[property] = ReadProperty(xml);
      }
    } else if (name == kDav + QStringLiteral("status")) {
      status = StatusCode(xml.readElementText());
    } else {
      xml.skipCurrentElement();
    }
  }
  if (status == 200) response.properties.merge(properties);
}

DavResponse ReadResponse(QXmlStreamReader& xml) {
  DavResponse response;
  while (xml.readNextStartElement()) {
    const QString name = NameOf(xml);
    if (name == kDav + QStringLiteral("href")) response.href = xml.readElementText().trimmed();
    else if (name == kDav + QStringLiteral("status")) response.status = StatusCode(xml.readElementText());
    else if (name == kDav + QStringLiteral("propstat")) ReadPropstat(xml, response);
    else xml.skipCurrentElement();
  }
  return response;
}

}  // namespace

const DavProperty* DavResponse::Find(const QString& name) const {
  auto it = properties.find(name);
  return it == properties.end() ? nullptr : &it->second;
}

bool DavResponse::IsA(const QString& kind) const {
  const DavProperty* type = Find(kDav + QStringLiteral("resourcetype"));
  return type && type->children.contains(kind);
}

std::optional<std::vector<DavResponse>> ParseMultistatus(const QByteArray& bytes, QString* error) {
  QXmlStreamReader xml(bytes);
  std::vector<DavResponse> responses;
  if (!xml.readNextStartElement() || NameOf(xml) != kDav + QStringLiteral("multistatus")) {
    *error = xml.hasError() ? xml.errorString() : QStringLiteral("the answer is not a WebDAV multistatus");
    return std::nullopt;
  }
  while (xml.readNextStartElement()) {
    if (NameOf(xml) == kDav + QStringLiteral("response")) responses.push_back(ReadResponse(xml));
    else xml.skipCurrentElement();
  }
  if (xml.hasError()) {
    *error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return std::nullopt;
  }
  return responses;
}
