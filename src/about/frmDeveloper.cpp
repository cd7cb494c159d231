#include "about/frmDeveloper.h"

#include "about/MakerArt.h"
#include "about/VersionText.h"
#include "desktop/Named.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = QString()) {
  return Named(new QLabel(text, parent), name);
}

// A read-only box that shows the window's grey instead of the white of an entry field.
QLineEdit* MakeGreyBox(QWidget* parent, const char* name) {
  auto* box = Named(new QLineEdit(parent), name);
  box->setReadOnly(true);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  box->setPalette(palette);
  return box;
}
}  // namespace

frmDeveloper::frmDeveloper(QWidget* parent)
    : EscapeIgnoringDialog(parent),
      imgLogo(MakeLabel(this, "imgLogo")),
      grpContactDetails(Named(new QGroupBox(this), "grpContactDetails")),
      imgContact(MakeLabel(grpContactDetails, "imgContact")),
      lblName(MakeLabel(grpContactDetails, "lblName", QStringLiteral("Harrow Lane Software Ltd"))),
      lblAddress_0(MakeLabel(grpContactDetails, "lblAddress_0", QStringLiteral("Unit 7, Millrace Yard"))),
      lblAddress_1(MakeLabel(grpContactDetails, "lblAddress_1", QStringLiteral("14 Harrow Lane"))),
      lblAddress_2(MakeLabel(grpContactDetails, "lblAddress_2", QStringLiteral("Eastbrook EB4 7QT"))),
      lblPhone(MakeLabel(grpContactDetails, "lblPhone", QStringLiteral("Phone:"))),
      lblPhoneNumber(MakeLabel(grpContactDetails, "lblPhoneNumber", QStringLiteral("(555) 014-2300"))),
      lblFax(MakeLabel(grpContactDetails, "lblFax", QStringLiteral("Fax:"))),
      lblFaxNumber(MakeLabel(grpContactDetails, "lblFaxNumber", QStringLiteral("(555) 014-2301"))),
      lblEmail(MakeLabel(grpContactDetails, "lblEmail", QStringLiteral("Email:"))),
      lblEmailAddress(MakeLabel(grpContactDetails, "lblEmailAddress",
                                QStringLiteral("support@harrowlane.example.com"))),
      lblWeb(MakeLabel(grpContactDetails, "lblWeb", QStringLiteral("Web:"))),
      txtWebURL(MakeGreyBox(grpContactDetails, "txtWebURL")),
      Label3(MakeLabel(this, "Label3", QStringLiteral("Penlark Address Transfer"))),
      Label4(MakeLabel(this, "Label4",
                       QStringLiteral("Copyright \u00A9 Harrow Lane Software Ltd. All rights reserved."))),
      lblVersion(MakeLabel(this, "lblVersion", QStringLiteral("Version:"))),
      txtVersion(MakeGreyBox(this, "txtVersion")),
      cmdClose(Named(new QPushButton(QStringLiteral("&Close"), this), "cmdClose")) {
  setObjectName(QStringLiteral("frmDeveloper"));
  setWindowTitle(QStringLiteral("About Penlark"));
  cmdClose->setDefault(true);
  cmdClose->setMinimumWidth(90);

  imgLogo->setPixmap(MakerLogo());
  imgLogo->setAlignment(Qt::AlignCenter);
  imgContact->setPixmap(MakerBadge(48));
  imgContact->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  QFont bold = lblName->font();
  bold.setBold(true);
  lblName->setFont(bold);
  Label3->setFont(bold);

  // The web address sits in line with the labels above it, on the frame's own grey.
  txtWebURL->setFrame(false);
  QPalette see = txtWebURL->palette();
  see.setColor(QPalette::Base, Qt::transparent);
  txtWebURL->setPalette(see);
  txtWebURL->setTextMargins(-2, 0, 0, 0);
  txtWebURL->setText(QStringLiteral("www.harrowlane.example.com"));
  txtVersion->setFixedWidth(90);

  auto* postal = new QVBoxLayout;
  postal->setSpacing(2);
  for (QLabel* line : {lblName, lblAddress_0, lblAddress_1, lblAddress_2}) postal->addWidget(line);

  auto* reach = new QGridLayout;
  reach->setHorizontalSpacing(12);
  reach->setVerticalSpacing(2);
  reach->addWidget(lblPhone, 0, 0);
  reach->addWidget(lblPhoneNumber, 0, 1);
  reach->addWidget(lblFax, 1, 0);
  reach->addWidget(lblFaxNumber, 1, 1);
  reach->addWidget(lblEmail, 2, 0);
  reach->addWidget(lblEmailAddress, 2, 1);
  reach->addWidget(lblWeb, 3, 0);
  reach->addWidget(txtWebURL, 3, 1);
  reach->setColumnStretch(1, 1);

  auto* details = new QVBoxLayout;
  details->setSpacing(10);
  details->addLayout(postal);
  details->addLayout(reach);

  auto* contact = new QHBoxLayout(grpContactDetails);
  contact->setContentsMargins(14, 12, 14, 12);
  contact->setSpacing(16);
  contact->addWidget(imgContact, 0, Qt::AlignTop);
  contact->addLayout(details, 1);

  auto* version = new QHBoxLayout;
  version->addWidget(lblVersion);
  version->addWidget(txtVersion);
  version->addStretch(1);
  version->addWidget(cmdClose);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 14, 14, 14);
  layout->setSpacing(10);
  layout->addWidget(imgLogo);
  layout->addWidget(grpContactDetails);
  layout->addWidget(Label3);
  layout->addWidget(Label4);
  layout->addSpacing(4);
  layout->addLayout(version);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(cmdClose, &QPushButton::clicked, this, &frmDeveloper::cmdClose_Click);
  Form_Load();
}

void frmDeveloper::Form_Load() { txtVersion->setText(ProgramVersionText()); }

void frmDeveloper::cmdClose_Click() { accept(); }
