#include "profiles/frmProfiles.h"

#include "shared/ProgramValues.h"
#include "profiles/NameValidation.h"
#include "profiles/ProfileRows.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

// The profile editor's keyboard and focus handling: the checks on leaving a name box,
// the field boxes that take no typing and the separator boxes' key marks.

namespace {
constexpr int kEnterCode = 13;
constexpr int kSpaceCode = 32;
constexpr int kParagraphCode = kParagraphMark;
constexpr int kBlankCode = kBlankMark;
}  // namespace

void frmProfiles::cboProfileName_LostFocus() { CheckName(); }

void frmProfiles::txtBookmark_LostFocus(int row) { CheckBookmark(row); }

bool frmProfiles::CheckName() {
  if (checkingFocus_) return false;
  // With no profile stored there is no name to choose, so the check could only hold the
  // person in the box and keep New from giving one; SaveProfile still refuses a blank.
  if (cboProfileName->count() == 0) return true;
  const QScopedValueRollback guard(checkingFocus_, true);
  if (ValidateProfileName(pv_.desktop, cboProfileName->currentText(), true, false)) return true;
  // A drop-down list has no text to select; giving the focus back is all there is.
  cboProfileName->setFocus(Qt::OtherFocusReason);
  return false;
}

bool frmProfiles::CheckBookmark(int row) {
  if (checkingFocus_) return false;
  const QScopedValueRollback guard(checkingFocus_, true);
  QLineEdit& box = *txtBookmark[row];
  if (ValidateProfileName(pv_.desktop, box.text(), false, true)) return true;
  box.setFocus(Qt::OtherFocusReason);
  box.setSelection(0, int(box.text().size()));
  return false;
}

bool frmProfiles::CheckFocusedBox() {
  const QWidget* box = QApplication::focusWidget();
  if (box == cboProfileName) return CheckName();
  for (int row = 0; row < kRows; ++row)
    if (box == txtBookmark[row]) return CheckBookmark(row);
  return true;
}

void frmProfiles::cboField_KeyPress(int /*row*/, int& keyAscii) {
  pv_.desktop.Beep();
  keyAscii = 0;
}

void frmProfiles::txtSeparator_GotFocus(int /*row*/) { lblTabInstruction->show(); }
void frmProfiles::txtSeparator_LostFocus(int /*row*/) { lblTabInstruction->hide(); }

int frmProfiles::MapSeparatorKey(int keyAscii) {
  switch (keyAscii) {
    case kEnterCode:
      return kParagraphCode;
    case kSpaceCode:
      return kBlankCode;
    default:
      return keyAscii;
  }
}

bool frmProfiles::txtSeparator_KeyDown(int row, int key, Qt::KeyboardModifiers modifiers) {
  if (key != Qt::Key_Tab || (modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier)
    return false;
  QLineEdit& box = *txtSeparator[row];
  box.end(false);
  box.insert(QString(QChar(kTabMark)));
  return true;
}

bool frmProfiles::FilterSeparatorKey(int row, QKeyEvent& key) {
  if (txtSeparator_KeyDown(row, key.key(), key.modifiers())) return true;
  int code = 0;
  const bool plainEnter = (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
                          !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (plainEnter) {
    code = kEnterCode;
  } else if (key.text().size() == 1) {
    code = key.text().at(0).unicode();
  } else {
    return false;
  }
  const int mapped = MapSeparatorKey(code);
  if (mapped == code) return false;
  txtSeparator[row]->insert(QString(QChar(char16_t(mapped))));
  return true;
}

bool frmProfiles::FilterFieldKey(int row, QKeyEvent& key, bool inPopup) {
  if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab || key.text().isEmpty())
    return false;
  const QChar first = key.text().at(0);
  // The open list still needs Enter and Esc to close it; only its search by typing goes.
  if (inPopup && (first.unicode() < 32 || first.unicode() == 127)) return false;
  int keyAscii = first.unicode();
  cboField_KeyPress(row, keyAscii);
  return keyAscii == 0;
}

void frmProfiles::HandleFocusOut(QObject* watched, Qt::FocusReason reason) {
  // Only a move to another control of this window counts, not losing or closing the
  // window.
  if (!isVisible() || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
      reason == Qt::MenuBarFocusReason)
    return;
  // Cancel keeps nothing, so leaving a box for it checks nothing: a refused box must
  // never keep the user from leaving the window.
  if (QApplication::focusWidget() == cmdCancel) return;
  if (watched == cboProfileName) {
    cboProfileName_LostFocus();
    return;
  }
  for (int row = 0; row < kRows; ++row)
    if (watched == txtBookmark[row]) txtBookmark_LostFocus(row);
}

bool frmProfiles::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto& key = static_cast<QKeyEvent&>(*event);
      for (int row = 0; row < kRows; ++row) {
        if (watched == txtSeparator[row]) return FilterSeparatorKey(row, key);
        if (watched == cboField[row]) return FilterFieldKey(row, key, false);
        if (watched == cboField[row]->view()) return FilterFieldKey(row, key, true);
      }
      break;
    }
    case QEvent::FocusIn:
      for (int row = 0; row < kRows; ++row)
        if (watched == txtSeparator[row]) txtSeparator_GotFocus(row);
      break;
    case QEvent::FocusOut:
      for (int row = 0; row < kRows; ++row)
        if (watched == txtSeparator[row]) txtSeparator_LostFocus(row);
      if (watched == cboProfileName)
        HandleFocusOut(watched, static_cast<QFocusEvent*>(event)->reason());
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void frmProfiles::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // A focused button takes Enter as it takes the space bar; no button is the default,
      // since the dialog would draw and press the first one.
      if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
      [[fallthrough]];
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}
