#pragma once

#include "desktop/EscapeIgnoringDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class frmProfiles;
struct ProgramValues;

// Asks for the name of a new Address Profile. A good name (not in use, letters and
// blanks, 1 to 32 characters) puts the editor into new-profile mode; a refused one is
// told and the box emptied for another try. Writes nothing to the configuration file;
// Cancel and the title-bar close leave the editor as it was. Enter presses OK; Esc does
// nothing (the window has no cancel button).
class frmNewName : public EscapeIgnoringDialog {
 public:
  frmNewName(ProgramValues& pv, frmProfiles& editor, QWidget* parent = nullptr);

  void cmdOK_Click();
  void cmdCancel_Click();

  QLabel* lblInstructions;
  QLineEdit* txtNewProfileName;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 private:
  ProgramValues& pv_;
  frmProfiles& editor_;
};
