#include "LetterDocument.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextDocument>

#include <vector>

QString NormalizeBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

LetterDocument::LetterDocument(QPlainTextEdit& editor, QString name, const QString& letter)
    : editor_(editor), name_(std::move(name)) {
  static const QRegularExpression marker(QStringLiteral(R"(\[\[([^\[\]]+)\]\])"));
  const QString source = NormalizeBreaks(letter);
  QString text;
  std::vector<std::pair<QString, qsizetype>> places;
  qsizetype from = 0;
  for (auto it = marker.globalMatch(source); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    text += source.mid(from, match.capturedStart() - from);
    places.emplace_back(match.captured(1), text.size());
    from = match.capturedEnd();
  }
  text += source.mid(from);

  editor_.setPlainText(text);
  QTextDocument* document = editor_.document();
  for (const auto& [bookmark, position] : places) {
    QTextCursor cursor(document);
    cursor.setPosition(static_cast<int>(position));
    bookmarks_.insert_or_assign(bookmark.toCaseFolded(), cursor);
  }
  QTextCursor start(document);
  editor_.setTextCursor(start);
}

QString LetterDocument::Text() const {
  QString text = editor_.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

QString LetterDocument::SelectionText() const {
  QString text = editor_.textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

bool LetterDocument::GoToBookmark(const QString& bookmark) {
  const auto found = bookmarks_.find(bookmark.toCaseFolded());
  if (found == bookmarks_.end()) return false;
  editor_.setTextCursor(found->second);
  editor_.ensureCursorVisible();
  return true;
}

void LetterDocument::InsertAfterSelection(const QString& text) {
  const QString inserted = NormalizeBreaks(text);
  if (inserted.isEmpty()) return;
  const QTextCursor selection = editor_.textCursor();
  const int start = selection.selectionStart();
  const int end = selection.selectionEnd();
  QTextCursor at(editor_.document());
  at.setPosition(end);
  at.insertText(inserted);
  QTextCursor grown(editor_.document());
  grown.setPosition(start);
  grown.setPosition(at.position(), QTextCursor::KeepAnchor);
  editor_.setTextCursor(grown);
  editor_.ensureCursorVisible();
}

void LetterDocument::InsertAtInsertionPoint(const QString& text) {
  QTextCursor cursor = editor_.textCursor();
  cursor.insertText(NormalizeBreaks(text));
  editor_.setTextCursor(cursor);
  editor_.ensureCursorVisible();
}
