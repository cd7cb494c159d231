#pragma once

#include <QDBusContext>
#include <QMainWindow>
#include <QString>

#include <memory>
#include <optional>

class LetterDocument;
class QPlainTextEdit;
class QTimer;

// The word processor's main window: the document in an editor that shows every change
// as it is made, and a status line with the last automation call. Without a letter it
// shows an empty, read-only page: no document is open.
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

  // org.penlark.WordStandin
  QString DocumentText();
  void SaveScreenshot(const QString& path);

  // Puts the call in the status line; the window is drawn once calls pause.
  void ShowCall(const QString& description);

 private:
  QPlainTextEdit* editor_;
  QTimer* redraw_;
  std::unique_ptr<LetterDocument> document_;
};
