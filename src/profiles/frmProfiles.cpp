#include "profiles/frmProfiles.h"

#include "shared/AppMessages.h"
#include "shared/ProgramValues.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "organizer/FieldNames.h"
#include "desktop/Named.h"
#include "profiles/NameValidation.h"
#include "profiles/ProfileIndex.h"
#include "profiles/ProfileRows.h"
#include "profiles/frmNewName.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace {
const QString kNewCaption = QStringLiteral("&New");
const QString kSaveCaption = QStringLiteral("&Save");

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
  // No default button here: Enter in a box must not save or close (keyPressEvent).
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
  auto chain = [&previous](QWidget* next) {
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
  // However a button is pressed, a box refused on leaving keeps it from acting. Cancel
  // keeps nothing and checks nothing.
  connect(cmdNew, &QPushButton::clicked, this, [this] { if (CheckFocusedBox()) cmdNew_Click(); });
  connect(cmdDelete, &QPushButton::clicked, this, [this] { if (CheckFocusedBox()) cmdDelete_Click(); });
  connect(cmdOK, &QPushButton::clicked, this, [this] { if (CheckFocusedBox()) cmdOK_Click(); });
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

void frmProfiles::SetMode(Mode mode) {
  mode_ = mode;
  const bool browsing = mode == Mode::Browse;
  cmdNew->setText(browsing ? kNewCaption : kSaveCaption);
  cmdDelete->setEnabled(browsing);
  cboProfileName->setEnabled(browsing);
}

void frmProfiles::BeginNewProfile(const QString& name) {
  cboProfileName->addItem(name);
  cboProfileName->setCurrentIndex(cboProfileName->count() - 1);
  SetMode(Mode::NewProfile);
  for (int row = 0; row < kRows; ++row) {
    txtBookmark[row]->clear();
    cboField[row]->setCurrentIndex(0);
    txtSeparator[row]->clear();
  }
}

void frmProfiles::cmdNew_Click() {
  if (mode_ == Mode::Browse) {
    ShowNewNameDialog();
    return;
  }
  if (!SaveProfile()) return;
  SetMode(Mode::Browse);
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
    ShowAppError(pv_.desktop, AppMessageNumber::IniInconsistent);
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
