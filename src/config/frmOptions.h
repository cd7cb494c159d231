#pragma once

#include <QDialog>

struct ProgramValues;
class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// The Options window: the address-book data file, the address section and the
// blank-field option, kept in section "Options" of the configuration file.
// Opening reads the three values afresh (whole, never cut). OK saves what is not blank,
// telling the user once when the path or the section is blank, refreshes
// pv.OrganizerFilePath (short form for an .OR2 file) and pv.AddressSectionName for the
// values it wrote, marks the address-book link closed and closes. Cancel and Esc close
// without writing anything.
// DEVIATION: the stored behaviour loses a value that cannot be written without a word;
// here a failed write has told the user, the writes after it are not attempted, and the
// window still closes.
class frmOptions : public QDialog {
 public:
  explicit frmOptions(ProgramValues& pv, QWidget* parent = nullptr);

  void Form_Load();
  void cmdBrowse_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

  QGroupBox* grpOrganizerFile;
  QLabel* lblFilePath;
  QLineEdit* txtFilePath;
  QPushButton* cmdBrowse;
  QLabel* lblAddressSection;
  QLineEdit* txtAddressSection;
  QCheckBox* chkSkipBlankFields;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ProgramValues& pv_;
};
