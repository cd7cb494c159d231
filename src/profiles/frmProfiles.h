#pragma once

#include "organizer/FieldNames.h"
#include "profiles/ProfileRows.h"

#include <QDialog>
#include <QString>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct ProgramValues;

// The profile editor: creates, changes and deletes the Address Profiles of
// pv.ConfigFilePath. A profile is a name and twelve rows of (bookmark, field display
// name, separator); the separator is shown and stored encoded ("_" blank, "¶" paragraph
// break, "»" tab). Building the window runs Form_Load, which may show the new-name
// window at once when no profile is stored.
//
// Modes: browse (cmdNew reads "&New", the name box and Delete enabled, the rows show the
// selected profile) and new-profile (begun by frmNewName: cmdNew reads "&Save", the name
// box and Delete disabled, the rows start empty).
//
// Enter in a box and Esc do nothing here: the window has no default and no cancel button.
// Enter on a focused button presses it.
class frmProfiles : public QDialog {
 public:
  static constexpr int kRows = kProfileRows;
  static constexpr int kFieldNameCount = kFieldDisplayNameCount;

  explicit frmProfiles(ProgramValues& pv, QWidget* parent = nullptr);

  // Event handlers. Tests call them directly; the LostFocus handlers are also reached
  // through the focus events, guarded so a refocus cannot start another check.
  void Form_Load();
  void cboProfileName_Click();
  void cboProfileName_LostFocus();
  void txtBookmark_LostFocus(int row);
  // Beeps and discards every character typed into a field box (keyAscii becomes 0).
  void cboField_KeyPress(int row, int& keyAscii);
  void txtSeparator_GotFocus(int row);
  void txtSeparator_LostFocus(int row);
  // Ctrl+Tab (exactly Ctrl) appends "»" to the end of the box; returns true when the key
  // was used up that way, false for every other key.
  bool txtSeparator_KeyDown(int row, int key, Qt::KeyboardModifiers modifiers);
  void cmdNew_Click();
  void cmdDelete_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

  // Enter (13) becomes "¶" (182), the space bar (32) "_" (95); every other code is kept.
  static int MapSeparatorKey(int keyAscii);

  // Stores the displayed profile under its name's slot, or the lowest free one. False,
  // after telling the user why, when a row rule refuses it, the name is blank, all 32
  // slots are taken, or a write of the configuration file failed.
  bool SaveProfile();
  // Shows the rows stored in section "Profile <slot>"; missing values give empty boxes
  // and "(-None-)".
  void LoadProfileRows(int slot);
  void FillFieldLists();
  void ShowNewNameDialog();
  // New-profile mode for a name the new-name window accepted: the name added to the name
  // box and selected, every row emptied.
  void BeginNewProfile(const QString& name);

  enum class Mode { Browse, NewProfile };
  Mode CurrentMode() const { return mode_; }

  // Display names 0 to 28 in list order; entry 29 stays empty.
  std::array<QString, kFieldNameCount + 1> FieldNames;

  QLabel* lblAddressProfile;
  QComboBox* cboProfileName;
  QLabel* lblBookmark;
  QLabel* lblDataField;
  QLabel* lblSeparator;
  std::array<QLabel*, kRows> Label{};  // objectNames Label1 .. Label12
  std::array<QLineEdit*, kRows> txtBookmark{};
  std::array<QComboBox*, kRows> cboField{};
  std::array<QLineEdit*, kRows> txtSeparator{};
  QLabel* lblTabInstruction;
  QPushButton* cmdNew;
  QPushButton* cmdDelete;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  // Selects and shows the first stored profile; with none, asks for a new name.
  void ShowFirstProfile();
  bool FilterSeparatorKey(int row, QKeyEvent& key);
  bool FilterFieldKey(int row, QKeyEvent& key, bool inPopup);
  void HandleFocusOut(QObject* watched, Qt::FocusReason reason);
  // Sets the mode and the controls that show it: cmdNew's caption, the name box, Delete.
  void SetMode(Mode mode);
  // The check of the name or bookmark box that has the focus, as on leaving it; true when
  // it passes or the focus is elsewhere. A button pressed by its access key leaves the
  // focus in the box, so New, Delete and OK run this before they act.
  bool CheckFocusedBox();
  bool CheckName();
  bool CheckBookmark(int row);

  ProgramValues& pv_;
  bool checkingFocus_ = false;
  Mode mode_ = Mode::Browse;
};
