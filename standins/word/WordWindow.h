#pragma once

#include <QDBusContext>
#include <QMainWindow>
#include <QString>

#include <memory>
#include <optional>

class LetterDocument;
class QPlainTextEdit;
class QTimer;

// Reads a letter file: UTF-8 text with "[[Name]]" bookmark markers. Nothing, with the
// reason in *error, when it cannot be read or is not UTF-8.
std::optional<QString> ReadLetterFile(const QString& path, QString* error);

// The word processor's main window: the document in an editor that shows every change
// as it is made, and a status line with the last automation call. Without a letter it
// shows an empty, read-only page: no document is open. File > Open opens a letter in
// place of the document there was.
class WordWindow : public QMainWindow, public QDBusContext {
  Q_OBJECT
  Q_PROPERTY(QString Title READ Title)

 public:
  // letterName: the document's name; letter: its text with "[[Name]]" bookmark markers.
  WordWindow(const QString& dialectCaption, std::optional<QString> letterName,
             const QString& letter);
  ~WordWindow() override;

  LetterDocument* Document() const { return document_.get(); }
  QString Title() const { return windowTitle(); }

  // The letter's text in place of the open document, named letterName.
  void OpenLetter(const QString& letterName, const QString& letter);

  // org.penlark.WordStandin
  QString DocumentText();
  void SaveScreenshot(const QString& path);

  // Puts the call in the status line; the page shows the change within a frame.
  void ShowCall(const QString& description);

 private:
  void AskForLetter();
  void DrawPage();

  QPlainTextEdit* editor_;
  QTimer* frame_;
  std::unique_ptr<LetterDocument> document_;
};
