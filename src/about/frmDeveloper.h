#pragma once

#include "desktop/EscapeIgnoringDialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The About window: the maker's logo and contact details and the version of this build,
// filled in when it opens. Close (the default button, so Enter presses it) closes it; Esc
// does nothing, as the window has no cancel button.
class frmDeveloper : public EscapeIgnoringDialog {
 public:
  explicit frmDeveloper(QWidget* parent = nullptr);

  void Form_Load();
  void cmdClose_Click();

  QLabel* imgLogo;
  QGroupBox* grpContactDetails;
  QLabel* imgContact;
  QLabel* lblName;
  QLabel* lblAddress_0;
  QLabel* lblAddress_1;
  QLabel* lblAddress_2;
  QLabel* lblPhone;
  QLabel* lblPhoneNumber;
  QLabel* lblFax;
  QLabel* lblFaxNumber;
  QLabel* lblEmail;
  QLabel* lblEmailAddress;
  QLabel* lblWeb;
  QLineEdit* txtWebURL;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* lblVersion;
  QLineEdit* txtVersion;
  QPushButton* cmdClose;
};
