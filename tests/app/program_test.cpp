#include "AppFixture.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename T>
T* Child(QDialog& form, const QString& name) {
  T* child = form.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name.toStdString();
  return child;
}

// A person's first run: no configuration at all, the data file and section entered in
// Options, a first profile made in the editor, then a search and Finished.
TEST_F(AppFixture, FromAnEmptyConfigurationToAFinishedTransfer) {
  const QString dataFile = WriteAddressBook();
  ASSERT_TRUE(StartOrganizer(dataFile)) << bus.lastError().toStdString();
  ASSERT_TRUE(StartWord97(WriteLetter(QStringLiteral("To: [[Name]]\nTown: [[Town]]\n"))));

  desktop.Answer(MsgAnswer::Yes);  // enter the data file now
  desktop.OnForm(QStringLiteral("frmOptions"), [&](QDialog& options) {
    Child<QLineEdit>(options, QStringLiteral("txtFilePath"))->setText(dataFile);
    Child<QLineEdit>(options, QStringLiteral("txtAddressSection"))->setText(QStringLiteral("Address"));
    Child<QPushButton>(options, QStringLiteral("cmdOK"))->click();
  });
  desktop.Answer(MsgAnswer::Yes);  // create a profile now
  desktop.OnForm(QStringLiteral("frmNewName"), [](QDialog& newName) {
    Child<QLineEdit>(newName, QStringLiteral("txtNewProfileName"))->setText(QStringLiteral("Letters"));
    Child<QPushButton>(newName, QStringLiteral("cmdOK"))->click();
  });
  desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog& editor) {
    const char* rows[][3] = {{"Name", "First Name", "_"}, {"", "Last Name", ""}, {"Town", "Business/City", ""}};
    for (int r = 0; r < 3; ++r) {
      Child<QLineEdit>(editor, QStringLiteral("txtBookmark_%1").arg(r))->setText(QString::fromUtf8(rows[r][0]));
      Child<QComboBox>(editor, QStringLiteral("cboField_%1").arg(r))->setCurrentText(QString::fromUtf8(rows[r][1]));
      Child<QLineEdit>(editor, QStringLiteral("txtSeparator_%1").arg(r))->setText(QString::fromUtf8(rows[r][2]));
    }
    Child<QPushButton>(editor, QStringLiteral("cmdOK"))->click();
  });
  form->Form_Load(dir.path());

  ASSERT_EQ(desktop.boxes.size(), 2u) << "the section was entered with the data file";
  EXPECT_EQ(desktop.formsShown,
            (std::vector<QString>{"frmOptions", "frmNewName", "frmProfiles"}));
  EXPECT_EQ(pv.OrganizerFilePath, dataFile);
  EXPECT_EQ(Get("Address Profiles", "0"), "Letters");
  EXPECT_EQ(form->cboAddressProfile->count(), 1);
  EXPECT_TRUE(form->cmdSearch->isEnabled());

  form->cboAddressProfile->setCurrentIndex(0);
  form->txtSearchItem->setText(QStringLiteral("lees"));
  form->optSurname->setChecked(true);
  form->cmdSearch_Click();
  ASSERT_EQ(form->lstAddressee->count(), 1);
  EXPECT_THROW(form->cmdFinished_Click(), ProgramEnded);
  EXPECT_EQ(LetterText(), QStringLiteral("To: Bob Lees\nTown: York\n"));
  EXPECT_EQ(Get("Recent Settings", "Search By"), "True");
  EXPECT_EQ(Get("Recent Settings", "Address Profile"), "Letters");
  EXPECT_EQ(desktop.boxes.size(), 2u);
}

}  // namespace
