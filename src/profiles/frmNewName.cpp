#include "profiles/frmNewName.h"

#include "shared/ProgramValues.h"
#include "desktop/Named.h"
#include "profiles/NameValidation.h"
#include "profiles/ProfileIndex.h"
#include "profiles/frmProfiles.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmNewName::frmNewName(ProgramValues& pv, frmProfiles& editor, QWidget* parent)
    : QDialog(parent),
      lblInstructions(
          Named(new QLabel(QStringLiteral("Address Profile &Name:"), this), "lblInstructions")),
      txtNewProfileName(Named(new QLineEdit(this), "txtNewProfileName")),
      cmdOK(Named(new QPushButton(QStringLiteral("&OK"), this), "cmdOK")),
      cmdCancel(Named(new QPushButton(QStringLiteral("&Cancel"), this), "cmdCancel")),
      pv_(pv),
      editor_(editor) {
  setObjectName(QStringLiteral("frmNewName"));
  setWindowTitle(QStringLiteral("Address Profile Name"));
  txtNewProfileName->setMinimumWidth(240);
  lblInstructions->setBuddy(txtNewProfileName);
  // OK is the default; a focused Cancel takes Enter for itself.
  cmdOK->setDefault(true);
  cmdCancel->setAutoDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblInstructions);
  layout->addWidget(txtNewProfileName);
  layout->addLayout(buttons);

  setTabOrder(txtNewProfileName, cmdOK);
  setTabOrder(cmdOK, cmdCancel);
  txtNewProfileName->setFocus(Qt::OtherFocusReason);

  connect(cmdOK, &QPushButton::clicked, this, &frmNewName::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmNewName::cmdCancel_Click);
}

void frmNewName::cmdOK_Click() {
  const QString name = txtNewProfileName->text();
  if (FindProfileIndex(pv_.ConfigFilePath, name) != kNoProfileSlot) {
    pv_.desktop.MsgBox(name + QStringLiteral(" is the name of an existing Address Profile.") +
                           QStringLiteral("\r\nPlease re-enter"),
                       MsgStyle::OkOnly + MsgStyle::Exclamation,
                       QStringLiteral("Duplicate Address Profile Name"));
    txtNewProfileName->clear();
    return;
  }
  if (!ValidateProfileName(pv_.desktop, name, true, false)) {
    txtNewProfileName->clear();
    return;
  }

  QComboBox& nameBox = *editor_.cboProfileName;
  nameBox.addItem(name);
  nameBox.setCurrentIndex(nameBox.count() - 1);
  nameBox.setEnabled(false);
  editor_.cmdNew->setText(QStringLiteral("&Save"));
  editor_.cmdDelete->setEnabled(false);
  for (int row = 0; row < frmProfiles::kRows; ++row) {
    editor_.txtBookmark[row]->clear();
    editor_.cboField[row]->setCurrentIndex(0);
    editor_.txtSeparator[row]->clear();
  }
  accept();
}

void frmNewName::cmdCancel_Click() { reject(); }

void frmNewName::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
