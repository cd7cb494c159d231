#pragma once

#include "bus/DdeTextBox.h"

#include <QStringList>

// Opens a conversation on the topic's file and lists the last names of one section in
// index order, each followed by its first name when it has one ("Lee Ann"). Ends the
// conversation, so each call is a new one.
inline QStringList SectionNames(DdeTextBox& box, const QString& topic, const QString& section) {
  auto request = [&box](const char* item) {
    box.SetLinkItem(QLatin1String(item));
    box.LinkRequest();
    return box.Text();
  };
  box.SetLinkTopic(QStringLiteral("Organize200|") + topic);
  box.SetLinkMode(2);
  box.LinkExecute(QStringLiteral("[SelectSection(\"%1\")]").arg(section));
  box.LinkExecute(QStringLiteral("[SelectIndex(\"LastName\")]"));
  QStringList names;
  for (box.LinkExecute(QStringLiteral("[Find(\"\")]")); request("RESULT") != QLatin1String("-1");
       box.LinkExecute(QStringLiteral("[Find(\"<NEXT>\")]")))
    names << (request("LastName") + u' ' + request("FirstName")).trimmed();
  box.SetLinkMode(0);
  return names;
}
