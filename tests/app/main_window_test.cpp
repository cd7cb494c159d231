#include "support/ProgramFixture.h"

#include "about/frmDeveloper.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using MainWindowTest = ProgramFixture;

// Both stand-ins running and start-up done, as a person finds the program. Enter in the
// search text searches even while Search is disabled; More writes the chosen entry, not the
// text typed after the search, and the program stays. Closing any dialog reapplies the
// search rule; the About box shows the version in read-only boxes and its pictures; Exit,
// the menu's Exit and the close button end without writing. A transfer that fails at a
// blank profile box, keys in the profile box, and the profile box emptied by a dialog's
// closing with the profiles kept: e2e.PenlarkWindows.MainWindow; the About box's keys,
// focus and look: e2e.PenlarkWindows.AboutOptionsAndBrowse.
TEST_F(MainWindowTest, EnterSearchesMoreWritesTheChosenEntryAndExitWritesNothing) {
  const QString book = WriteAddressBook();
  // First name and last name on one line, then the city on the next.
  WriteConfiguration(book, {{"Name", "First Name", "_"}, {"", "Last Name", ""},
                            {"Town", "Business/City", ""}, {"", "(-None-)", ""}});
  ASSERT_TRUE(StartOrganizer({book}));  // the reason: StartOrganizer's own expectation
  ASSERT_TRUE(StartWord({WriteLetter(QStringLiteral("Dear [[Name]],\nin [[Town]]\n"))}));
  form->Form_Load(dir.path());
  ASSERT_TRUE(desktop.boxes.empty());
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

  form->cmdSearch->setEnabled(false);
  form->txtSearchItem->setText(QStringLiteral("Lee"));
  form->optSurname->setChecked(true);
  QTest::keyClick(form->txtSearchItem, Qt::Key_Return);
  EXPECT_EQ(Listed(), (QStringList{"Ann Lee, Acme", "Bob Lees, Bolt Ltd"}));
  EXPECT_TRUE(form->lstAddressee->hasFocus());
  EXPECT_EQ(form->txtSearchItem->text(), QStringLiteral("Lee")) << "Enter is not typed";

  form->optCompany->setChecked(true);
  form->txtSearchItem->setText(QStringLiteral("acme"));
  form->cmdSearch_Click();
  ASSERT_EQ(Listed(), (QStringList{"Ann Lee, Acme", "Cy Moss, Acme"}));
  form->cboAddressProfile->setCurrentIndex(0);
  form->lstAddressee->setCurrentRow(1);
  form->txtSearchItem->setText(QStringLiteral("typed later, not searched"));
  form->cmdMore_Click();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(LetterText(), QStringLiteral("Dear Cy Moss,\nin Hull\n"));
  EXPECT_TRUE(form->txtSearchItem->hasFocus());
  EXPECT_EQ(form->txtSearchItem->selectedText(), form->txtSearchItem->text());
  EXPECT_EQ(Listed().size(), 2);
  EXPECT_EQ(Get("Recent Settings", "Search By"), "<missing>");
  // What Finished writes after More: tests/e2e (MoreStaysForASecondAddresseeFoundByCompany).
  EXPECT_THROW(form->cmdFinished_Click(), ProgramEnded);
  EXPECT_TRUE(pv.WordApp.IsNothing());

  const QByteArray before = ReadBytes(Ini());
  form->cmdSearch->setEnabled(true);
  pv.AddressSectionName.clear();  // Options emptied in memory
  desktop.OnForm(QStringLiteral("frmDeveloper"), [](QDialog& d) {
    const auto& about = static_cast<frmDeveloper&>(d);
    EXPECT_EQ(about.windowTitle() + about.lblVersion->text() + about.txtVersion->text() + about.cmdClose->text(),
              QStringLiteral("About PenlarkVersion:4.1.3&Close"));
    EXPECT_TRUE(about.txtVersion->isReadOnly() && about.txtWebURL->isReadOnly());
    EXPECT_FALSE(about.imgLogo->pixmap().isNull() || about.imgContact->pixmap().isNull());
  });
  form->mnuAbout_Click();
  EXPECT_EQ(desktop.formsShown.back(), QStringLiteral("frmDeveloper"));
  EXPECT_FALSE(form->cmdSearch->isEnabled());
  EXPECT_THROW(form->cmdExit_Click(), ProgramEnded);
  EXPECT_THROW(form->mnuExit_Click(), ProgramEnded);
  EXPECT_TRUE(form->close());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(ReadBytes(Ini()), before);
}

}  // namespace
