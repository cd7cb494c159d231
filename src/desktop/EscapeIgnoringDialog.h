#pragma once

#include <QDialog>
#include <QKeyEvent>

// A form that Esc does not close (QDialog would take Esc as Cancel): for the forms whose
// Esc is to do nothing.
class EscapeIgnoringDialog : public QDialog {
 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape)
      event->accept();
    else
      QDialog::keyPressEvent(event);
  }
};
