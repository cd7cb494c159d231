#pragma once

#include <QObject>
#include <QString>

class WriterConnection;

// Writer's main window as the bus sees it (org.penlark.Window at "/window"): its title is
// the title of the window showing the current text document, read from the office at
// each request; "LibreOffice" when no text document is open or the office does not answer.
class WriterWindow : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Title READ Title)

 public:
  WriterWindow(const WriterConnection& writer, QObject* parent);

  QString Title() const;

 private:
  const WriterConnection& writer_;
};
