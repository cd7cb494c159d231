#include "app/frmPenlark.h"

#include "about/MakerArt.h"
#include "about/frmDeveloper.h"
#include "shared/ProgramValues.h"
#include "app/RecentSettings.h"
#include "app/Startup.h"
#include "config/frmOptions.h"
#include "organizer/OrganizerSearch.h"
#include "bus/DdeTextBox.h"
#include "desktop/Named.h"
#include "profiles/ProfileIndex.h"
#include "profiles/frmProfiles.h"
#include "word/WordTransfer.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

bool IsEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

frmPenlark::frmPenlark(ProgramValues& pv, QWidget* parent) : QMainWindow(parent), pv_(pv) {
  setObjectName(QStringLiteral("frmPenlark"));
  setWindowTitle(QStringLiteral("Penlark"));
  setWindowIcon(QIcon(PenlarkIcon(32)));
  BuildControls();
  BuildMenu();

  pv_.main = MainWindowControls{optSurname,   optCompany, txtSearchItem, lstAddressee, cmdSearch,
                                cmdFinished,  cmdMore,    cboAddressProfile, txtOrganizerPipe};
  pv_.desktop.SetActivationHandler([this] { Form_Activate(); });
}

frmPenlark::~frmPenlark() {
  pv_.desktop.SetActivationHandler({});
  pv_.main = MainWindowControls{};
}

void frmPenlark::BuildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);

  Line1 = Named(new QFrame(central), "Line1");
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);

  Picture1 = Named(new QLabel(central), "Picture1");
  Picture1->setPixmap(PenlarkIcon(48));
  Picture1->setFixedSize(52, 52);

  grpSearchBy = Named(new QGroupBox(QStringLiteral("Search By"), central), "grpSearchBy");
  optSurname = Named(new QRadioButton(QStringLiteral("S&urname"), grpSearchBy), "optSurname");
  optCompany = Named(new QRadioButton(QStringLiteral("C&ompany"), grpSearchBy), "optCompany");
  auto* searchByLayout = new QHBoxLayout(grpSearchBy);
  searchByLayout->addWidget(optSurname);
  searchByLayout->addWidget(optCompany);

  lblSearchFor = Named(new QLabel(QStringLiteral("Search &For:"), central), "lblSearchFor");
  txtSearchItem = Named(new QLineEdit(central), "txtSearchItem");
  lblSearchFor->setBuddy(txtSearchItem);
  txtOrganizerPipe = Named(new DdeTextBox(central, pv_.bus), "txtOrganizerPipe");
  txtOrganizerPipe->setVisible(false);
  cmdSearch = Named(new QPushButton(QStringLiteral("&Search"), central), "cmdSearch");

  Label3 = Named(new QLabel(QStringLiteral("Select Addressee"), central), "Label3");
  lstAddressee = Named(new QListWidget(central), "lstAddressee");
  lstAddressee->setEnabled(false);
  lstAddressee->setSortingEnabled(false);

  lblAddressProfile = Named(new QLabel(QStringLiteral("Address &Profile:"), central), "lblAddressProfile");
  cboAddressProfile = Named(new QComboBox(central), "cboAddressProfile");
  cboAddressProfile->setEditable(true);
  cboAddressProfile->setInsertPolicy(QComboBox::NoInsert);
  cboAddressProfile->setMinimumWidth(180);
  lblAddressProfile->setBuddy(cboAddressProfile);
  cmdProfile = Named(new QPushButton(QStringLiteral("&Profiles..."), central), "cmdProfile");

  cmdFinished = Named(new QPushButton(QStringLiteral("&Finished"), central), "cmdFinished");
  cmdMore = Named(new QPushButton(QStringLiteral("&More"), central), "cmdMore");
  cmdExit = Named(new QPushButton(QStringLiteral("&Exit"), central), "cmdExit");
  cmdFinished->setEnabled(false);
  cmdMore->setEnabled(false);
  // Enter on a focused button presses it, as the space bar does.
  for (QPushButton* button : {cmdSearch, cmdProfile, cmdFinished, cmdMore, cmdExit})
    button->setAutoDefault(true);

  auto* top = new QHBoxLayout;
  top->addWidget(Picture1, 0, Qt::AlignTop);
  top->addStretch(1);
  top->addWidget(grpSearchBy);

  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(lblSearchFor);
  searchRow->addWidget(txtSearchItem, 1);
  searchRow->addWidget(cmdSearch);

  auto* profileRow = new QHBoxLayout;
  profileRow->addWidget(lblAddressProfile);
  profileRow->addWidget(cboAddressProfile, 1);
  profileRow->addWidget(cmdProfile);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdFinished);
  buttons->addWidget(cmdMore);
  buttons->addWidget(cmdExit);

  auto* layout = new QVBoxLayout(central);
  layout->addWidget(Line1);
  layout->addLayout(top);
  layout->addLayout(searchRow);
  layout->addWidget(txtOrganizerPipe);
  layout->addWidget(Label3);
  layout->addWidget(lstAddressee, 1);
  layout->addLayout(profileRow);
  layout->addLayout(buttons);
  resize(440, 400);

  setTabOrder(txtSearchItem, cmdSearch);
  setTabOrder(cmdSearch, lstAddressee);
  setTabOrder(lstAddressee, cboAddressProfile);
  setTabOrder(cboAddressProfile, cmdProfile);
  setTabOrder(cmdProfile, cmdFinished);
  setTabOrder(cmdFinished, cmdMore);
  setTabOrder(cmdMore, cmdExit);
  setTabOrder(cmdExit, optSurname);
  setTabOrder(optSurname, optCompany);
  txtSearchItem->setFocus();

  connect(cmdSearch, &QPushButton::clicked, this, &frmPenlark::cmdSearch_Click);
  connect(cmdFinished, &QPushButton::clicked, this, &frmPenlark::cmdFinished_Click);
  connect(cmdMore, &QPushButton::clicked, this, &frmPenlark::cmdMore_Click);
  connect(cmdProfile, &QPushButton::clicked, this, &frmPenlark::cmdProfile_Click);
  connect(cmdExit, &QPushButton::clicked, this, &frmPenlark::cmdExit_Click);

  txtSearchItem->installEventFilter(this);
  cboAddressProfile->installEventFilter(this);
  cboAddressProfile->lineEdit()->installEventFilter(this);
  lstAddressee->installEventFilter(this);
  lstAddressee->viewport()->installEventFilter(this);
}

void frmPenlark::BuildMenu() {
  mnuFile = Named(menuBar()->addMenu(QStringLiteral("&File")), "mnuFile");
  mnuAddressProfiles =
      Named(mnuFile->addAction(QStringLiteral("Address &Profiles ...")), "mnuAddressProfiles");
  mnuOptions = Named(mnuFile->addAction(QStringLiteral("&Options ...")), "mnuOptions");
  mnuSeperator1 = Named(mnuFile->addSeparator(), "mnuSeperator1");
  mnuAbout = Named(mnuFile->addAction(QStringLiteral("&About Penlark ...")), "mnuAbout");
  mnuSeperator2 = Named(mnuFile->addSeparator(), "mnuSeperator2");
  mnuExit = Named(mnuFile->addAction(QStringLiteral("&Exit")), "mnuExit");

  connect(mnuAddressProfiles, &QAction::triggered, this, &frmPenlark::mnuAddressProfiles_Click);
  connect(mnuOptions, &QAction::triggered, this, &frmPenlark::mnuOptions_Click);
  connect(mnuAbout, &QAction::triggered, this, &frmPenlark::mnuAbout_Click);
  connect(mnuExit, &QAction::triggered, this, &frmPenlark::mnuExit_Click);
}

void frmPenlark::Form_Load(const QString& programDir) { RunStartup(pv_, *this, programDir); }

void frmPenlark::Form_Activate() {
  FillProfileList(*cboAddressProfile, pv_.ConfigFilePath);
  ApplySearchRule();
}

void frmPenlark::ApplySearchRule() {
  cmdSearch->setEnabled(cboAddressProfile->count() > 0 && !pv_.AddressSectionName.isEmpty() &&
                        !pv_.OrganizerFilePath.isEmpty());
}

void frmPenlark::cmdSearch_Click() {
  if (SearchOrganizer(pv_)) lstAddressee->setFocus();
}

void frmPenlark::Transfer(FollowUp followUp) {
  const int position = lstAddressee->currentRow();
  const bool done = pv_.WordVersion == QStringLiteral("6")
                        ? TransferWordBasic(pv_, pv_.LastSearchText, pv_.LastSearchBySurname, position)
                        : TransferWord8(pv_, pv_.LastSearchText, pv_.LastSearchBySurname, position);
  if (!done) {
    cboAddressProfile->setFocus();
    return;
  }
  if (followUp == FollowUp::Finish) SaveRecentSettings(pv_);
  txtSearchItem->setFocus();
  txtSearchItem->selectAll();
}

void frmPenlark::cmdFinished_Click() { Transfer(FollowUp::Finish); }
void frmPenlark::cmdMore_Click() { Transfer(FollowUp::More); }

void frmPenlark::cmdProfile_Click() {
  frmProfiles editor(pv_);
  pv_.desktop.ShowModal(editor);
}

void frmPenlark::mnuAddressProfiles_Click() { cmdProfile_Click(); }

void frmPenlark::mnuOptions_Click() {
  frmOptions options(pv_);
  pv_.desktop.ShowModal(options);
}

void frmPenlark::mnuAbout_Click() {
  frmDeveloper about;
  pv_.desktop.ShowModal(about);
}

void frmPenlark::cmdExit_Click() { pv_.desktop.EndProgram(); }
void frmPenlark::mnuExit_Click() { pv_.desktop.EndProgram(); }

bool frmPenlark::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == cboAddressProfile || watched == cboAddressProfile->lineEdit()) {
      // The profile box is chosen from, never typed into: a character key beeps, an
      // editing key (Delete, Backspace, Ctrl+V) does nothing, and Tab still moves on.
      // Under X11 Tab carries "\t" and Delete 0x7f, so the key, not its text, decides.
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
      const QString text = key->text();
      if (IsEnter(key) || (!text.isEmpty() && text.front().isPrint())) {
        pv_.desktop.Beep();
        return true;
      }
      if (!text.isEmpty()) return true;
    } else if (watched == txtSearchItem && IsEnter(key)) {
      cmdSearch_Click();  // also while Search is disabled
      return true;
    } else if (watched == lstAddressee && IsEnter(key)) {
      cmdFinished_Click();
      return true;
    }
  } else if (event->type() == QEvent::MouseButtonDblClick && watched == lstAddressee->viewport()) {
    lstAddressee_DblClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}
