#include "config/frmOptions.h"

#include "shared/ProgramValues.h"
#include "config/ConfigChecks.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "desktop/Named.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmOptions::frmOptions(ProgramValues& pv, QWidget* parent)
    : QDialog(parent),
      grpOrganizerFile(Named(new QGroupBox(QStringLiteral("Organizer File"), this), "grpOrganizerFile")),
      lblFilePath(Named(new QLabel(QStringLiteral("File Path:"), grpOrganizerFile), "lblFilePath")),
      txtFilePath(Named(new QLineEdit(grpOrganizerFile), "txtFilePath")),
      cmdBrowse(Named(new QPushButton(QStringLiteral("&Browse"), grpOrganizerFile), "cmdBrowse")),
      lblAddressSection(Named(new QLabel(QStringLiteral("Address Section Name:"), grpOrganizerFile),
                              "lblAddressSection")),
      txtAddressSection(Named(new QLineEdit(grpOrganizerFile), "txtAddressSection")),
      chkSkipBlankFields(Named(new QCheckBox(QStringLiteral("&Skip Blank Fields"), grpOrganizerFile),
                               "chkSkipBlankFields")),
      cmdOK(Named(new QPushButton(QStringLiteral("&OK"), this), "cmdOK")),
      cmdCancel(Named(new QPushButton(QStringLiteral("&Cancel"), this), "cmdCancel")),
      pv_(pv) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(QStringLiteral("Options"));

  // No default button: Enter presses only the button that has the focus (keyPressEvent).
  for (QPushButton* button : {cmdBrowse, cmdOK, cmdCancel}) button->setAutoDefault(false);
  txtFilePath->setMinimumWidth(280);
  cmdOK->setMinimumWidth(90);
  cmdCancel->setMinimumWidth(90);

  auto* grid = new QGridLayout(grpOrganizerFile);
  grid->setContentsMargins(12, 14, 12, 12);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(10);
  grid->addWidget(lblFilePath, 0, 0);
  grid->addWidget(txtFilePath, 0, 1);
  grid->addWidget(cmdBrowse, 0, 2);
  grid->addWidget(lblAddressSection, 1, 0);
  grid->addWidget(txtAddressSection, 1, 1);
  grid->addWidget(chkSkipBlankFields, 2, 0, 1, 3);
  grid->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addSpacing(8);
  buttons->addWidget(cmdCancel);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(12);
  layout->addWidget(grpOrganizerFile);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(txtFilePath, cmdBrowse);
  setTabOrder(cmdBrowse, txtAddressSection);
  setTabOrder(txtAddressSection, chkSkipBlankFields);
  setTabOrder(chkSkipBlankFields, cmdOK);
  setTabOrder(cmdOK, cmdCancel);
  txtFilePath->setFocus();

  connect(cmdBrowse, &QPushButton::clicked, this, &frmOptions::cmdBrowse_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);

  Form_Load();
}

void frmOptions::Form_Load() {
  const QString& ini = pv_.ConfigFilePath;
  txtFilePath->setText(ReadConfigString(ini, ConfigKeys::Options, ConfigKeys::OrganizerFilePath));
  txtAddressSection->setText(ReadConfigString(ini, ConfigKeys::Options, ConfigKeys::AddressSection));
  // Every transfer takes any non-zero value as "skip", so that is what the box shows.
  chkSkipBlankFields->setChecked(
      ReadConfigInt(ini, ConfigKeys::Options, ConfigKeys::SkipBlankFields, 0) != 0);
}

void frmOptions::cmdBrowse_Click() {
  FileOpenSettings settings;
  settings.title = QStringLiteral("Select Organizer Data File");
  // DEVIATION: the address book served here reads vCard and JSON files, which the two
  // Organizer entries hide; an entry for those comes first, so a person's own address
  // book shows at once, then each kind alone, the two Organizer entries as they were, and
  // all files last.
  settings.filter = QStringLiteral(
      "Address Books (*.vcf *.json)|*.vcf;*.json|vCard Files (*.vcf)|*.vcf|"
      "JSON Address Books (*.json)|*.json|"
      "Organizer 2 Data Files (*.or2)|*.or2|Organizer 97 Data Files (*.or3)|*.or3|"
      "All Files (*)|*");
  settings.defaultExt = QStringLiteral("OR2");
  settings.flags = FileOpenFlag::HideReadOnly + FileOpenFlag::ShareAware;
  if (const std::optional<QString> chosen = pv_.desktop.ShowOpenDialog(settings)) {
    txtFilePath->setText(*chosen);
  }
}

void frmOptions::cmdOK_Click() {
  SaveOptions(pv_, {txtFilePath->text(), txtAddressSection->text(), chkSkipBlankFields->isChecked()});
  accept();
}

void frmOptions::cmdCancel_Click() { reject(); }

void frmOptions::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    switch (event->key()) {
      case Qt::Key_Escape:
        cmdCancel->click();
        return;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
        return;
      default:
        break;
    }
  }
  QDialog::keyPressEvent(event);
}
