#include "profiles/frmProfiles.h"

#include "app/AppMessages.h"
#include "app/ProgramValues.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "organizer/FieldNames.h"
#include "platform/Named.h"
#include "profiles/NameValidation.h"
#include "profiles/ProfileIndex.h"
#include "profiles/ProfileRows.h"
#include "profiles/frmNewName.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace {
const QString kNewCaption = QStringLiteral("&New");

constexpr int kEnterCode = 13;
constexpr int kSpaceCode = 32;
constexpr int kParagraphCode = kParagraphMark;
constexpr int kBlankCode = kBlankMark;

// A bookmark box reports losing the focus after its own focus-out handling, which would
// otherwise undo the selection and caret that a refused check gives back.
class BookmarkBox : public QLineEdit {
 public:
  BookmarkBox(QWidget* parent, std::function<void(QWidget*, Qt::FocusReason)> lostFocus)
      : QLineEdit(parent), lostFocus_(std::move(lostFocus)) {}

 protected:
  void focusOutEvent(QFocusEvent* event) override {
    QLineEdit::focusOutEvent(event);
    lostFocus_(this, event->reason());
  }

 private:
  std::function<void(QWidget*, Qt::FocusReason)> lostFocus_;
};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = Named(new QPushButton(caption, parent), name);
  // No default button here: Enter in a box must not save or close.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}
}  // namespace

frmProfiles::frmProfiles(ProgramValues& pv, QWidget* parent) : QDialog(parent), pv_(pv) {
  setObjectName(QStringLiteral("frmProfiles"));
  setWindowTitle(QStringLiteral("Address Profile"));
  BuildControls();
  Form_Load();
}

void frmProfiles::BuildControls() {
  // Widgets are made in focus order, and the order is fixed once more below, so the
  // focus chain does not depend on the layout.
  lblAddressProfile = Named(new QLabel(QStringLiteral("Address Profile:"), this),
                            QStringLiteral("lblAddressProfile"));
  cboProfileName = Named(new QComboBox(this), QStringLiteral("cboProfileName"));
  cboProfileName->setEditable(false);
  cboProfileName->setMinimumContentsLength(32);
  cboProfileName->installEventFilter(this);

  lblBookmark = Named(new QLabel(QStringLiteral("Bookmark"), this), QStringLiteral("lblBookmark"));
  lblDataField = Named(new QLabel(QStringLiteral("Organizer Data Field"), this),
                       QStringLiteral("lblDataField"));
  lblSeparator =
      Named(new QLabel(QStringLiteral("Separator"), this), QStringLiteral("lblSeparator"));

  for (int row = 0; row < kRows; ++row) {
    Label[row] = Named(new QLabel(QStringLiteral("%1.").arg(row + 1), this),
                       QStringLiteral("Label%1").arg(row + 1));
    txtBookmark[row] = Named(
        new BookmarkBox(this, [this](QWidget* box, Qt::FocusReason reason) {
          HandleFocusOut(box, reason);
        }),
        QStringLiteral("txtBookmark_%1").arg(row));
    cboField[row] = Named(new QComboBox(this), QStringLiteral("cboField_%1").arg(row));
    cboField[row]->setEditable(false);
    cboField[row]->installEventFilter(this);
    cboField[row]->view()->installEventFilter(this);
  }

  cmdNew = MakeButton(this, "cmdNew", kNewCaption);
  cmdDelete = MakeButton(this, "cmdDelete", QStringLiteral("&Delete"));
  cmdOK = MakeButton(this, "cmdOK", QStringLiteral("&OK"));
  cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"));

  for (int row = 0; row < kRows; ++row) {
    txtSeparator[row] = Named(new QLineEdit(this), QStringLiteral("txtSeparator_%1").arg(row));
    txtSeparator[row]->installEventFilter(this);
  }

  lblTabInstruction =
      Named(new QLabel(QStringLiteral("Enter Ctrl + Tab if a Tab is required as Separator character"),
                       this),
            QStringLiteral("lblTabInstruction"));
  QSizePolicy keepPlace = lblTabInstruction->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  lblTabInstruction->setSizePolicy(keepPlace);
  lblTabInstruction->hide();

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(lblAddressProfile);
  nameRow->addWidget(cboProfileName, 1);

  auto* grid = new QGridLayout;
  grid->addWidget(lblBookmark, 0, 1);
  grid->addWidget(lblDataField, 0, 2);
  grid->addWidget(lblSeparator, 0, 3);
  for (int row = 0; row < kRows; ++row) {
    grid->addWidget(Label[row], row + 1, 0, Qt::AlignRight);
    grid->addWidget(txtBookmark[row], row + 1, 1);
    grid->addWidget(cboField[row], row + 1, 2);
    grid->addWidget(txtSeparator[row], row + 1, 3);
  }
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(2, 2);
  grid->setColumnStretch(3, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {cmdNew, cmdDelete, cmdOK, cmdCancel}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(nameRow);
  layout->addLayout(grid);
  layout->addWidget(lblTabInstruction);
  layout->addLayout(buttons);

  QWidget* previous = cboProfileName;
  auto chain = [this, &previous](QWidget* next) {
    setTabOrder(previous, next);
    previous = next;
  };
  for (int row = 0; row < kRows; ++row) {
    chain(txtBookmark[row]);
    chain(cboField[row]);
  }
  for (QPushButton* button : {cmdNew, cmdDelete, cmdOK, cmdCancel}) chain(button);
  for (int row = 0; row < kRows; ++row) chain(txtSeparator[row]);

  connect(cboProfileName, &QComboBox::currentIndexChanged, this,
          &frmProfiles::cboProfileName_Click);
  connect(cmdNew, &QPushButton::clicked, this, &frmProfiles::cmdNew_Click);
  connect(cmdDelete, &QPushButton::clicked, this, &frmProfiles::cmdDelete_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmProfiles::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmProfiles::cmdCancel_Click);
}

void frmProfiles::Form_Load() {
  FillFieldLists();
  FillProfileList(*cboProfileName, pv_.ConfigFilePath);
  ShowFirstProfile();
}

void frmProfiles::ShowFirstProfile() {
  if (cboProfileName->count() == 0) {
    ShowNewNameDialog();
    return;
  }
  cboProfileName->setCurrentIndex(0);
  LoadProfileRows(FindProfileIndex(pv_.ConfigFilePath, cboProfileName->currentText()));
}

void frmProfiles::FillFieldLists() {
  for (int i = 0; i < kFieldNameCount; ++i) FieldNames[i] = FieldDisplayName(i);
  for (QComboBox* box : cboField) {
    box->clear();
    for (int i = 0; i < kFieldNameCount; ++i) box->addItem(FieldNames[i]);
    box->setCurrentIndex(0);
  }
}

void frmProfiles::LoadProfileRows(int slot) {
  const ProfileRows rows = ReadProfileRows(pv_.ConfigFilePath, slot);
  for (int row = 0; row < kRows; ++row) {
    txtBookmark[row]->setText(rows[row].bookmark);
    txtSeparator[row]->setText(rows[row].separator);
    QComboBox& box = *cboField[row];
    // A field name from an earlier load that is not one of ours is dropped again.
    while (box.count() > kFieldNameCount) box.removeItem(box.count() - 1);
    if (rows[row].field.isEmpty()) {
      box.setCurrentIndex(0);
      continue;
    }
    int index = box.findText(rows[row].field, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
      // A drop-down list can only show an entry, so a stored name we do not offer
      // becomes one for this row: it is shown and saved back unchanged.
      box.addItem(rows[row].field);
      index = box.count() - 1;
    }
    box.setCurrentIndex(index);
  }
}

void frmProfiles::cboProfileName_Click() {
  const int slot = FindProfileIndex(pv_.ConfigFilePath, cboProfileName->currentText());
  if (slot != kNoProfileSlot) LoadProfileRows(slot);
}

void frmProfiles::cboProfileName_LostFocus() {
  if (checkingFocus_) return;
  const QScopedValueRollback guard(checkingFocus_, true);
  if (ValidateProfileName(pv_.desktop, cboProfileName->currentText(), true, false)) return;
  // A drop-down list has no text to select; giving the focus back is all there is.
  cboProfileName->setFocus(Qt::OtherFocusReason);
}

void frmProfiles::txtBookmark_LostFocus(int row) {
  if (checkingFocus_) return;
  const QScopedValueRollback guard(checkingFocus_, true);
  QLineEdit& box = *txtBookmark[row];
  if (ValidateProfileName(pv_.desktop, box.text(), false, true)) return;
  box.setFocus(Qt::OtherFocusReason);
  box.setSelection(0, int(box.text().size()));
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
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

bool frmProfiles::SaveProfile() {
  const QString name = cboProfileName->currentText();
  // A blank name would be stored as an empty index value, which ends every profile list
  // at that slot.
  if (name.trimmed().isEmpty()) {
    ValidateProfileName(pv_.desktop, QString(), true, false);
    return false;
  }
  ProfileRows rows;
  for (int row = 0; row < kRows; ++row)
    rows[row] = {txtBookmark[row]->text(), cboField[row]->currentText(), txtSeparator[row]->text()};
  if (!CheckProfileRows(pv_.desktop, rows)) return false;

  int slot = FindProfileIndex(pv_.ConfigFilePath, name);
  if (slot == kNoProfileSlot) slot = NextFreeProfileIndex(pv_.ConfigFilePath);
  if (slot == kNoProfileSlot) {
    pv_.desktop.MsgBox(QStringLiteral("Penlark can keep at most 32 Address Profiles.\n\r\n\r"
                                      "Please delete an Address Profile before adding another."),
                       MsgStyle::OkOnly + MsgStyle::Exclamation,
                       QStringLiteral("Address Profile Limit"));
    return false;
  }
  return WriteProfile(pv_, slot, name, rows);
}

void frmProfiles::ShowNewNameDialog() {
  frmNewName dialog(pv_, *this);
  pv_.desktop.ShowModal(dialog);
}

void frmProfiles::cmdNew_Click() {
  if (cmdNew->text() == kNewCaption) {
    ShowNewNameDialog();
    return;
  }
  if (!SaveProfile()) return;
  cmdNew->setText(kNewCaption);
  cmdDelete->setEnabled(true);
  cboProfileName->setEnabled(true);
  FillProfileList(*cboProfileName, pv_.ConfigFilePath);
  cboProfileName->setCurrentIndex(cboProfileName->count() - 1);
}

void frmProfiles::cmdDelete_Click() {
  const QString name = cboProfileName->currentText();
  const int answer = pv_.desktop.MsgBox(
      QStringLiteral("Are you sure you want to delete the ") + name +
          QStringLiteral(" Address Profile?"),
      MsgStyle::YesNo + MsgStyle::Question + MsgStyle::DefaultButton2,
      QStringLiteral("Confirm Address Profile Delete"));
  if (answer != MsgAnswer::Yes) return;
  const int slot = FindProfileIndex(pv_.ConfigFilePath, name);
  if (slot == kNoProfileSlot) {
    ShowAppError(pv_, 2);
    return;
  }
  if (!WriteConfigString(pv_, ConfigKeys::ProfileIndex, QString::number(slot),
                         kDeletedProfile))
    return;
  cboProfileName->clear();
  FillProfileList(*cboProfileName, pv_.ConfigFilePath);
  ShowFirstProfile();
}

void frmProfiles::cmdOK_Click() {
  if (SaveProfile()) accept();
}

void frmProfiles::cmdCancel_Click() { reject(); }
