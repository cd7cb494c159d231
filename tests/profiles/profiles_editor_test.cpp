#include "profiles/frmProfiles.h"

#include "ProfileTestFile.h"
#include "app/ProgramValues.h"
#include "config/ConfigFile.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <set>

namespace {

const QString kNone = QStringLiteral("(-None-)");
const QString kBlankName =
    QStringLiteral("The Address Profile Name cannot be blank\n\r\n\rPlease re-enter.");

class ProfilesEditorTest : public ::testing::Test {
 protected:
  ProfilesEditorTest() : pv(desktop, QDBusConnection(QString())) {
    pv.ConfigFilePath = config.path;
  }

  // Opens the editor; shown as the active window, focus moves as a person's keys move it.
  std::unique_ptr<frmProfiles> Open(bool active = false) {
    auto editor = std::make_unique<frmProfiles>(pv);
    if (active) {
      editor->show();
      QApplication::setActiveWindow(editor.get());
    }
    return editor;
  }

  void ScriptNewName(const QString& name) {
    desktop.OnForm(QStringLiteral("frmNewName"), [name](QDialog& dialog) {
      dialog.findChild<QLineEdit*>(QStringLiteral("txtNewProfileName"))->setText(name);
      dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
  }

  // A field in each of these rows (1-based), "(-None-)" in the others.
  static void SetFields(frmProfiles& editor, const std::set<int>& rows) {
    for (int row = 0; row < frmProfiles::kRows; ++row)
      editor.cboField[row]->setCurrentIndex(rows.count(row + 1) ? 1 + row : 0);
  }

  QString Stored(const char* section, const char* key) const {
    return ReadConfigString(config.path, QString::fromLatin1(section), QString::fromLatin1(key),
                            QStringLiteral("<missing>"));
  }

  static QStringList Listed(const QComboBox& box) {
    QStringList names;
    for (int i = 0; i < box.count(); ++i) names << box.itemText(i);
    return names;
  }

  ScriptedDesktopServices desktop;
  TempConfig config;
  ProgramValues pv;
};

TEST_F(ProfilesEditorTest, OpensOnTheFirstProfileWithItsRowsWhole) {
  config.Write(TempConfig::Index({"Anna", "Bert"}) +
               "[Profile 0]\nBookmark 0=AbcdefghijklmnopqrstuvwxyzAbcdefghij\nField 0=Last Name\n"
               "Separator 0=_\xC2\xBB\nField 1=Not A Field\n");
  auto editor = Open();
  EXPECT_TRUE(desktop.formsShown.empty());
  EXPECT_EQ(editor->cboProfileName->currentText(), QStringLiteral("Anna"));
  EXPECT_EQ(editor->txtBookmark[0]->text(), QStringLiteral("AbcdefghijklmnopqrstuvwxyzAbcdefghij"));
  EXPECT_EQ(editor->cboField[0]->currentText(), QStringLiteral("Last Name"));
  EXPECT_EQ(editor->txtSeparator[0]->text(), QStringLiteral("_\u00BB"));
  EXPECT_EQ(editor->cboField[1]->currentText(), QStringLiteral("Not A Field"));
  EXPECT_EQ(editor->cboField[2]->currentText(), kNone);
  EXPECT_EQ(editor->cboField[11]->count(), frmProfiles::kFieldNameCount);
  EXPECT_EQ(editor->cboField[11]->itemText(14), QStringLiteral("Business/Telephone 2"));
  EXPECT_EQ(editor->cboField[11]->itemText(28), QStringLiteral("Home/Unused 2"));

  editor->cboProfileName->setCurrentIndex(1);  // no section: empty rows
  EXPECT_EQ(editor->txtBookmark[0]->text(), QString());
  EXPECT_EQ(editor->cboField[1]->currentText(), kNone);
  EXPECT_EQ(editor->cboField[1]->count(), frmProfiles::kFieldNameCount);
}

TEST_F(ProfilesEditorTest, RowRules) {
  const QString embedded =
      QStringLiteral("Row %1 of the Address Profile contains no Organizer Data Field.  A (-None-) "
                     "Organizer Data Field is not permitted between two valid data fields.\n\r\n\r"
                     "Please replace the (-None-) field at row %1 with a valid field name.");
  const QString noFields =
      QStringLiteral("No Organizer Data Fields are included in the Address Profile.\n\r\n\r"
                     "Please add at at least one Organizer Data Field to the Address Profile.");
  const std::pair<std::set<int>, int> cases[] = {  // fields, refused row (0 saved, -1 none)
      {{1, 2, 3}, 0}, {{1, 2, 4}, 3},    {{2, 5}, 4}, {{2, 4, 5}, 3},
      {{2, 3, 4, 5}, 1}, {{12}, 11},     {{}, -1}};
  config.Write(TempConfig::Index({"Anna"}));
  for (const auto& [fields, refused] : cases) {
    SCOPED_TRACE(refused);
    desktop.boxes.clear();
    auto editor = Open();
    SetFields(*editor, fields);
    const QByteArray before = config.Bytes();
    EXPECT_EQ(editor->SaveProfile(), refused == 0);
    if (refused == 0) {
      EXPECT_TRUE(desktop.boxes.empty());
      EXPECT_EQ(Stored("Profile 0", "Field 2"), QStringLiteral("Business/Title"));
      continue;
    }
    EXPECT_EQ(config.Bytes(), before);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].style, 64);
    EXPECT_EQ(desktop.boxes[0].text, refused > 0 ? embedded.arg(refused) : noFields);
    EXPECT_EQ(desktop.boxes[0].title, refused > 0
                                          ? QStringLiteral("Embedded (-None-) Organizer Data Field")
                                          : QStringLiteral("No Organizer Data Fields"));
  }
}

TEST_F(ProfilesEditorTest, SeparatorKeysAreEncodedAndStored) {
  const std::pair<int, int> codes[] = {{13, 182}, {32, 95}, {9, 9}, {65, 65}, {95, 95}, {187, 187}};
  for (const auto& [typed, used] : codes) EXPECT_EQ(frmProfiles::MapSeparatorKey(typed), used);

  config.Write(TempConfig::Index({"Anna"}) + "[Profile 0]\nField 0=First Name\n");
  auto editor = Open(true);
  QLineEdit& first = *editor->txtSeparator[0];
  first.setFocus();
  QTest::keyClick(&first, Qt::Key_Return);
  QTest::keyClick(&first, Qt::Key_Space);
  QTest::keyClicks(&first, QStringLiteral("a_"));
  EXPECT_EQ(first.text(), QStringLiteral("\u00B6_a_"));

  QLineEdit& second = *editor->txtSeparator[1];
  second.setFocus();
  second.setText(QStringLiteral("ab"));
  second.setCursorPosition(0);
  QTest::keyClick(&second, Qt::Key_Tab, Qt::ControlModifier);
  QTest::keyClick(&second, Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(second.text(), QStringLiteral("ab\u00BB"));
  EXPECT_EQ(QApplication::focusWidget(), &second);

  ASSERT_TRUE(editor->SaveProfile());
  EXPECT_EQ(Stored("Profile 0", "Separator 0"), QStringLiteral("\u00B6_a_"));
  EXPECT_EQ(Stored("Profile 0", "Separator 1"), QStringLiteral("ab\u00BB"));
}

TEST_F(ProfilesEditorTest, TypingInAFieldBoxBeepsAndChangesNothing) {
  config.Write(TempConfig::Index({"Anna"}));
  auto editor = Open();
  QComboBox& box = *editor->cboField[0];
  for (Qt::Key key : {Qt::Key_B, Qt::Key_H, Qt::Key_Space}) QTest::keyClick(&box, key);
  EXPECT_EQ(desktop.beeps, 3);
  EXPECT_EQ(box.currentText(), kNone);
  QTest::keyClick(&box, Qt::Key_Down);  // not a character: the list still steps
  EXPECT_EQ(desktop.beeps, 3);
  EXPECT_EQ(box.currentText(), QStringLiteral("First Name"));
}

TEST_F(ProfilesEditorTest, NewProfileTakesTheFreedSlot) {
  config.Write(TempConfig::Index({"Anna", "(-Deleted-)", "Carl", "Dora"}) +
               "[Profile 1]\nBookmark 0=Stale\nField 1=Home/Zip\nSeparator 1=s\n"
               "[Profile 3]\nBookmark 0=DoraMark\nField 0=Spouse\n");
  auto editor = Open();
  ScriptNewName(QStringLiteral("Emma"));
  editor->cmdNew_Click();
  ASSERT_EQ(editor->cmdNew->text(), QStringLiteral("&Save"));
  SetFields(*editor, {1});
  editor->cmdNew_Click();

  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(Stored("Address Profiles", "1"), QStringLiteral("Emma"));
  EXPECT_EQ(Stored("Profile 1", "Bookmark 0"), QString());
  EXPECT_EQ(Stored("Profile 1", "Field 1"), kNone);
  EXPECT_EQ(Stored("Profile 1", "Separator 1"), QString());
  EXPECT_EQ(Stored("Profile 1", "Separator 11"), QString());
  EXPECT_EQ(Listed(*editor->cboProfileName), (QStringList{"Anna", "Emma", "Carl", "Dora"}));
  EXPECT_EQ(editor->cboProfileName->currentText(), QStringLiteral("Dora"));
  EXPECT_EQ(editor->txtBookmark[0]->text(), QStringLiteral("DoraMark"));
  EXPECT_EQ(editor->cmdNew->text(), QStringLiteral("&New"));
  EXPECT_TRUE(editor->cmdDelete->isEnabled() && editor->cboProfileName->isEnabled());
}

TEST_F(ProfilesEditorTest, DeletingTheLastProfileAsksForANewNameAtOnce) {
  config.Write(TempConfig::Index({"Anna"}) + "[Profile 0]\nBookmark 0=Mark\n");
  auto editor = Open();
  desktop.Answer(MsgAnswer::Yes);
  editor->cmdDelete_Click();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Confirm Address Profile Delete"));
  EXPECT_EQ(desktop.boxes[0].text,
            QStringLiteral("Are you sure you want to delete the Anna Address Profile?"));
  EXPECT_EQ(desktop.boxes[0].style, 292);
  EXPECT_EQ(Stored("Address Profiles", "0"), QStringLiteral("(-Deleted-)"));
  EXPECT_EQ(Stored("Profile 0", "Bookmark 0"), QStringLiteral("Mark"));
  EXPECT_EQ(editor->cboProfileName->count(), 0);
  EXPECT_EQ(desktop.formsShown, std::vector<QString>{QStringLiteral("frmNewName")});
}

TEST_F(ProfilesEditorTest, DeleteWithAnEmptyNameBoxGivesMessageTwo) {
  auto editor = Open();  // no profile: the new-name window opens and is closed
  ASSERT_EQ(desktop.formsShown, std::vector<QString>{QStringLiteral("frmNewName")});
  desktop.Answer(MsgAnswer::Yes);
  editor->cmdDelete_Click();
  ASSERT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(desktop.boxes[0].text,
            QStringLiteral("Are you sure you want to delete the  Address Profile?"));
  EXPECT_EQ(desktop.boxes[1].text,
            QStringLiteral("There is an inconsistency in the PENLARK.INI file.\n\r\n\r"
                           "Deleting this file is recommended,"));
  EXPECT_EQ(config.Bytes(), QByteArray("<no file>"));
}

TEST_F(ProfilesEditorTest, BlankNameIsNeverStored) {
  auto editor = Open();  // empty name box after the new-name window was closed
  editor->show();
  SetFields(*editor, {1});
  editor->cmdOK_Click();
  ScriptNewName(QStringLiteral("   "));
  editor->cmdNew_Click();
  ASSERT_EQ(editor->cmdNew->text(), QStringLiteral("&Save"));
  SetFields(*editor, {1});
  editor->cmdNew_Click();

  ASSERT_EQ(desktop.boxes.size(), 2u);
  for (const auto& box : desktop.boxes) {
    EXPECT_EQ(box.title, QStringLiteral("Invalid Name"));
    EXPECT_EQ(box.text, kBlankName);
    EXPECT_EQ(box.style, 48);
  }
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->cmdNew->text(), QStringLiteral("&Save"));
  EXPECT_EQ(config.Bytes(), QByteArray("<no file>"));
}

TEST_F(ProfilesEditorTest, ThirtyThirdProfileIsRefused) {
  config.Write(TempConfig::Index(TempConfig::ThirtyTwoNames()));
  const QByteArray before = config.Bytes();
  auto editor = Open();
  ScriptNewName(QStringLiteral("Extra"));
  editor->cmdNew_Click();
  SetFields(*editor, {1});
  editor->cmdNew_Click();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Address Profile Limit"));
  EXPECT_EQ(desktop.boxes[0].text,
            QStringLiteral("Penlark can keep at most 32 Address Profiles.\n\r\n\r"
                           "Please delete an Address Profile before adding another."));
  EXPECT_EQ(desktop.boxes[0].style, 48);
  EXPECT_EQ(config.Bytes(), before);
}

TEST_F(ProfilesEditorTest, FailedWriteKeepsTheEditorOpenAndTellsOnce) {
  pv.ConfigFilePath = config.dir.path() + QStringLiteral("/missing/PENLARK.INI");
  auto editor = Open();
  editor->show();
  ScriptNewName(QStringLiteral("Anna"));
  editor->cmdNew_Click();
  SetFields(*editor, {1, 2});
  editor->txtBookmark[0]->setText(QStringLiteral("Mark"));
  editor->cmdOK_Click();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Penlark Error"));
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->txtBookmark[0]->text(), QStringLiteral("Mark"));
  editor->cmdNew_Click();
  EXPECT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(editor->cmdNew->text(), QStringLiteral("&Save"));
}

TEST_F(ProfilesEditorTest, EnterEscapeCancelAndCloseWriteNothing) {
  config.Write(TempConfig::Index({"Anna"}));
  const QByteArray before = config.Bytes();
  auto editor = Open(true);
  SetFields(*editor, {1, 2});
  for (QWidget* target : std::initializer_list<QWidget*>{editor->txtBookmark[0], editor->cmdOK}) {
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Return);
    QTest::keyClick(target, Qt::Key_Escape);
  }
  EXPECT_TRUE(editor->isVisible());
  editor->cmdCancel_Click();
  EXPECT_FALSE(editor->isVisible());
  auto closed = Open(true);
  SetFields(*closed, {1, 2});
  closed->close();
  EXPECT_FALSE(closed->isVisible());
  EXPECT_EQ(config.Bytes(), before);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ProfilesEditorTest, FocusOrderAndTabInstruction) {
  config.Write(TempConfig::Index({"Anna"}));
  auto editor = Open(true);
  std::vector<QWidget*> order{editor->cboProfileName};
  for (int row = 0; row < frmProfiles::kRows; ++row) {
    order.push_back(editor->txtBookmark[row]);
    order.push_back(editor->cboField[row]);
  }
  order.insert(order.end(), {editor->cmdNew, editor->cmdDelete, editor->cmdOK, editor->cmdCancel});
  order.insert(order.end(), editor->txtSeparator.begin(), editor->txtSeparator.end());
  order.push_back(editor->cboProfileName);

  editor->cboProfileName->setFocus();
  for (size_t step = 1; step < order.size(); ++step) {
    SCOPED_TRACE(step);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), order[step]);
    EXPECT_EQ(editor->lblTabInstruction->isVisible(), step >= 29 && step <= 40);
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ProfilesEditorTest, BadBookmarkTakesTheFocusBackOnce) {
  config.Write(TempConfig::Index({"Anna"}));
  auto editor = Open(true);
  editor->txtBookmark[0]->setFocus();
  QTest::keyClicks(editor->txtBookmark[0], QStringLiteral("Letter2"));
  editor->txtBookmark[1]->setText(QStringLiteral("Bad One"));
  QTest::keyClick(editor->txtBookmark[0], Qt::Key_Tab);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text,
            QStringLiteral("The name entered may only use characters \"A-Z\"; \"a-z\" and may not "
                           "include spaces.\n\r\n\rPlease re-enter."));
  EXPECT_EQ(QApplication::focusWidget(), editor->txtBookmark[0]);
  EXPECT_EQ(editor->txtBookmark[0]->selectedText(), QStringLiteral("Letter2"));

  // Another bad box taking the focus back does not start a round of checks.
  editor->txtBookmark[1]->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(QApplication::focusWidget(), editor->txtBookmark[0]);

  editor->cmdCancel->setFocus(Qt::MouseFocusReason);  // Cancel is always reachable
  EXPECT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(QApplication::focusWidget(), editor->cmdCancel);
}

}  // namespace
