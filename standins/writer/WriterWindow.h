#pragma once

#include <QObject>
#include <QString>

class OfficeSession;

// Writer's main window as the bus sees it (org.penlark.Window at "/window"): its title is
// the title of the window showing the current text document, read from the office at
// each request; "LibreOffice" when no text document is open, no office is connected or it
// does not answer.
class WriterWindow : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Title READ Title)

 public:
  WriterWindow(const OfficeSession& office, QObject* parent);

  QString Title() const;

 private:
  const OfficeSession& office_;
};
