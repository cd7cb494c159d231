#include "profiles/frmNewName.h"

#include "shared/ProgramValues.h"
#include "desktop/Named.h"
#include "profiles/NameValidation.h"
#include "profiles/frmProfiles.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmNewName::frmNewName(ProgramValues& pv, frmProfiles& editor, QWidget* parent)
    : EscapeIgnoringDialog(parent),
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
  if (!CheckNewProfileName(pv_.desktop, pv_.ConfigFilePath, name)) {
    txtNewProfileName->clear();
    return;
  }
  editor_.BeginNewProfile(name);
  accept();
}

void frmNewName::cmdCancel_Click() { reject(); }
