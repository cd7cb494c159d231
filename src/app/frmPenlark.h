#pragma once

#include <QMainWindow>
#include <QString>

class DdeTextBox;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
struct ProgramValues;

// The main window: the only window open for the whole run. Its handlers are thin: they
// call the search, the transfers, the dialogs and the recent settings, which own the
// behaviour. Building the window registers its controls in pv.main and its activation
// handling with the desktop; start-up is Form_Load, which the program calls once.
class frmPenlark : public QMainWindow {
 public:
  explicit frmPenlark(ProgramValues& pv, QWidget* parent = nullptr);
  ~frmPenlark() override;

  // Start-up: fixes ConfigFilePath (ConfigFileLocation(programDir)), runs the checks,
  // fills the profile box, restores the recent settings and connects to the word
  // processor. May end the program.
  void Form_Load(const QString& programDir);

  // Runs when the window is first shown and each time the last modal dialog closes:
  // refills the profile box (leaving it empty) and applies the Search availability rule.
  void Form_Activate();
  void ApplySearchRule();

  void cmdSearch_Click();
  void cmdFinished_Click();
  void cmdMore_Click();
  void lstAddressee_DblClick() { cmdFinished_Click(); }
  void cmdProfile_Click();
  void cmdExit_Click();
  void mnuAddressProfiles_Click();
  void mnuOptions_Click();
  void mnuAbout_Click();
  void mnuExit_Click();

  QFrame* Line1;
  QLabel* Picture1;
  QGroupBox* grpSearchBy;
  QRadioButton* optSurname;
  QRadioButton* optCompany;
  QLabel* lblSearchFor;
  QLineEdit* txtSearchItem;
  DdeTextBox* txtOrganizerPipe;
  QPushButton* cmdSearch;
  QLabel* Label3;
  QListWidget* lstAddressee;
  QLabel* lblAddressProfile;
  QComboBox* cboAddressProfile;
  QPushButton* cmdProfile;
  QPushButton* cmdFinished;
  QPushButton* cmdMore;
  QPushButton* cmdExit;
  QMenu* mnuFile;
  QAction* mnuAddressProfiles;
  QAction* mnuOptions;
  QAction* mnuSeperator1;
  QAction* mnuAbout;
  QAction* mnuSeperator2;
  QAction* mnuExit;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class FollowUp { Finish, More };
  void Transfer(FollowUp followUp);
  void BuildControls();
  void BuildMenu();

  ProgramValues& pv_;
};
