#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The access-error window: why the address-book link could not be opened and what to
// check. Fixed texts only; OK (the one control that takes the focus) closes it.
class frmError1 : public QDialog {
 public:
  explicit frmError1(QWidget* parent = nullptr);

  void cmdOK_Click();

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QPushButton* cmdOK;
};
