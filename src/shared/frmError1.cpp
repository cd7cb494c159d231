#include "shared/frmError1.h"

#include "desktop/Named.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = Named(new QLabel(text, parent), name);
  label->setWordWrap(true);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}
}  // namespace

frmError1::frmError1(QWidget* parent)
    : QDialog(parent),
      Label1(MakeLabel(this, "Label1",
                       QStringLiteral("Penlark is unable to access the selected Organizer data file."))),
      Label2(MakeLabel(this, "Label2", QStringLiteral("Check:"))),
      Label3(MakeLabel(this, "Label3",
                       QStringLiteral("The path to your Organizer data file is correctly entered in "
                                      "the File Path field of the Options screen"))),
      Label4(MakeLabel(this, "Label4",
                       QStringLiteral("Organizer is running with the data file entered in the File "
                                      "Path of the Options screen loaded."))),
      cmdOK(Named(new QPushButton(QStringLiteral("&OK"), this), "cmdOK")) {
  setObjectName(QStringLiteral("frmError1"));
  setWindowTitle(QStringLiteral("Penlark Error"));

  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);

  cmdOK->setDefault(true);
  cmdOK->setMinimumWidth(90);

  auto* checks = new QVBoxLayout;
  checks->setContentsMargins(24, 0, 0, 0);
  checks->setSpacing(8);
  checks->addWidget(Label3);
  checks->addWidget(Label4);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 18, 18, 14);
  layout->setSpacing(10);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addLayout(checks);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  setFixedWidth(460);
  setSizeGripEnabled(false);

  connect(cmdOK, &QPushButton::clicked, this, &frmError1::cmdOK_Click);
}

void frmError1::cmdOK_Click() { accept(); }
