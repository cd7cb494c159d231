#pragma once

#include <QString>
#include <QTextCursor>

#include <map>

class QPlainTextEdit;

// The open document, held in the window's editor so every change shows as it happens
// and a person can type into it too. A letter is text in which "[[Name]]" marks a
// bookmark called Name: the marker is removed and the bookmark is the place where it
// stood. Bookmarks are kept as text cursors of the editor's document, so they move with
// every edit: a bookmark that marks a place ends up after text inserted exactly there,
// and one that spans text grows over text inserted at its end. A name given twice marks
// the later place; bookmark names match without regard to letter case.
// Paragraph breaks are one character each; text given with CR LF, CR or LF breaks
// becomes paragraph breaks, and Text() gives them back as LF.
class LetterDocument {
 public:
  LetterDocument(QPlainTextEdit& editor, QString name, const QString& letter);

  const QString& Name() const { return name_; }
  QString Text() const;
  QString SelectionText() const;

  // Selects the bookmark's place; false when there is no such bookmark.
  bool GoToBookmark(const QString& bookmark);
  // Adds the text at the end of the selection; the selection grows over it.
  void InsertAfterSelection(const QString& text);
  // Replaces the selection with the text; the insertion point ends after it.
  void InsertAtInsertionPoint(const QString& text);

 private:
  QPlainTextEdit& editor_;
  QString name_;
  std::map<QString, QTextCursor> bookmarks_;  // by case-folded name
};

// Line breaks of any convention as LF, the editor's paragraph break.
QString NormalizeBreaks(QString text);
