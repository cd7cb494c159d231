#include "profiles/frmProfiles.h"

#include "ProfileTestFile.h"
#include "app/ProgramValues.h"
#include "config/ConfigFile.h"

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

class ProfilesEditorTest : public ::testing::Test {
 protected:
  ProfilesEditorTest() : pv(desktop, QDBusConnection(QString())) {
    pv.ConfigFilePath = config.path;
  }

  // Opens the editor on this file (none if empty); shown as the active window, focus moves
  // as a person's keys move it.
  std::unique_ptr<frmProfiles> Open(const QByteArray& file, bool active = false) {
    if (!file.isEmpty()) config.Write(file);
    auto editor = std::make_unique<frmProfiles>(pv);
    if (active) {
      editor->show();
      QApplication::setActiveWindow(editor.get());
    }
    return editor;
  }

  // New, the name typed into the new-name window, and a field in each of these rows (1-based).
  void NewProfile(frmProfiles& editor, const QString& name, const std::set<int>& rows) {
    desktop.OnForm(QStringLiteral("frmNewName"), [name](QDialog& dialog) {
      dialog.findChild<QLineEdit*>(QStringLiteral("txtNewProfileName"))->setText(name);
      dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    editor.cmdNew_Click();
    ASSERT_EQ(editor.cmdNew->text(), QStringLiteral("&Save"));
    SetFields(editor, rows);
  }

  static void SetFields(frmProfiles& editor, const std::set<int>& rows) {
    for (int row = 0; row < frmProfiles::kRows; ++row)
      editor.cboField[row]->setCurrentIndex(rows.count(row + 1) ? 1 + row : 0);
  }

  static QString Row(const frmProfiles& editor, int row) {
    return editor.txtBookmark[row]->text() + u',' + editor.cboField[row]->currentText() + u',' +
           editor.txtSeparator[row]->text();
  }

  QString Stored(const QString& section, const QStringList& keys) const {
    QStringList values;
    for (const QString& key : keys)
      values << ReadConfigString(pv.ConfigFilePath, section, key, QStringLiteral("<missing>"));
    return values.join(u'|');
  }

  ScriptedDesktopServices desktop;
  TempConfig config;
  ProgramValues pv;
};

TEST_F(ProfilesEditorTest, OpensOnTheFirstProfileWithItsValuesWhole) {
  auto editor = Open(TempConfig::Index({"Anna", "Bert"}) +
                     "[Profile 0]\nBookmark 0=AbcdefghijklmnopqrstuvwxyzAbcdefghij\n"
                     "Field 0=Last Name\nSeparator 0=_\xC2\xBB\nField 1=Not A Field\n");
  EXPECT_TRUE(desktop.formsShown.empty());
  EXPECT_EQ(editor->cboProfileName->currentText(), QStringLiteral("Anna"));
  EXPECT_EQ(Row(*editor, 0),
            QStringLiteral("AbcdefghijklmnopqrstuvwxyzAbcdefghij,Last Name,_\u00BB"));
  EXPECT_EQ(Row(*editor, 1), QStringLiteral(",Not A Field,"));
  editor->cboProfileName->setCurrentIndex(1);  // no section: empty rows, our field names only
  EXPECT_EQ(Row(*editor, 0) + Row(*editor, 1), QStringLiteral(",(-None-),,(-None-),"));
  EXPECT_EQ(editor->cboField[1]->count(), frmProfiles::kFieldNameCount);
}

TEST_F(ProfilesEditorTest, RowRules) {
  const QString embedded = QStringLiteral(
      "Embedded (-None-) Organizer Data Field|Row %1 of the Address Profile contains no Organizer "
      "Data Field.  A (-None-) Organizer Data Field is not permitted between two valid data "
      "fields.\n\r\n\rPlease replace the (-None-) field at row %1 with a valid field name.|64");
  const QString noFields = QStringLiteral(
      "No Organizer Data Fields|No Organizer Data Fields are included in the Address Profile."
      "\n\r\n\rPlease add at at least one Organizer Data Field to the Address Profile.|64");
  const std::pair<std::set<int>, int> cases[] = {  // fields, refused row (0 saved, -1 none)
      {{1, 2, 3}, 0}, {{1, 2, 4}, 3}, {{2, 5}, 4}, {{2, 4, 5}, 3}, {{2, 3, 4, 5}, 1},
      {{12}, 11},     {{}, -1}};
  config.Write(TempConfig::Index({"Anna"}));
  for (const auto& [fields, refused] : cases) {
    SCOPED_TRACE(refused);
    desktop.boxes.clear();
    auto editor = Open({});
    SetFields(*editor, fields);
    const QByteArray before = config.Bytes();
    EXPECT_EQ(editor->SaveProfile(), refused == 0);
    if (refused == 0) {
      EXPECT_TRUE(desktop.boxes.empty());
      EXPECT_EQ(Stored("Profile 0", {"Field 2"}), QStringLiteral("Business/Title"));
      continue;
    }
    EXPECT_EQ(config.Bytes(), before);
    EXPECT_EQ(Boxes(desktop), QStringList{refused > 0 ? embedded.arg(refused) : noFields});
  }
}

TEST_F(ProfilesEditorTest, SeparatorKeysAreEncodedAndStored) {
  auto editor = Open(TempConfig::Index({"Anna"}) + "[Profile 0]\nField 0=First Name\n", true);
  QLineEdit& first = *editor->txtSeparator[0];
  first.setFocus();
  QTest::keyClick(&first, Qt::Key_Return);
  QTest::keyClick(&first, Qt::Key_Space);
  QTest::keyClicks(&first, QStringLiteral("a_"));
  QLineEdit& second = *editor->txtSeparator[1];
  second.setFocus();
  second.setText(QStringLiteral("ab"));
  second.setCursorPosition(0);
  QTest::keyClick(&second, Qt::Key_Tab, Qt::ControlModifier);
  QTest::keyClick(&second, Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), &second);
  ASSERT_TRUE(editor->SaveProfile());
  EXPECT_EQ(first.text() + u'|' + second.text(), QStringLiteral("\u00B6_a_|ab\u00BB"));
  EXPECT_EQ(Stored("Profile 0", {"Separator 0", "Separator 1"}),
            QStringLiteral("\u00B6_a_|ab\u00BB"));
}

TEST_F(ProfilesEditorTest, TypingInAFieldBoxBeepsAndChangesNothing) {
  auto editor = Open(TempConfig::Index({"Anna"}));
  QComboBox& box = *editor->cboField[0];
  for (Qt::Key key : {Qt::Key_B, Qt::Key_H, Qt::Key_Space}) QTest::keyClick(&box, key);
  EXPECT_EQ(desktop.beeps, 3);
  EXPECT_EQ(box.currentText(), kNone);
  QTest::keyClick(&box, Qt::Key_Down);  // not a character: the list still steps
  EXPECT_EQ(desktop.beeps, 3);
  EXPECT_EQ(box.currentText(), QStringLiteral("First Name"));
}

TEST_F(ProfilesEditorTest, NewProfileTakesTheFreedSlot) {
  auto editor = Open(TempConfig::Index({"Anna", "(-Deleted-)", "Carl", "Dora"}) +
                     "[Profile 1]\nBookmark 0=Stale\nField 1=Home/Zip\nSeparator 1=s\n"
                     "[Profile 3]\nBookmark 0=DoraMark\nField 0=Spouse\n");
  NewProfile(*editor, QStringLiteral("Emma"), {1});
  editor->cmdNew_Click();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(Stored("Address Profiles", {"0", "1", "2", "3"}) + u'|' +
                Stored("Profile 1", {"Bookmark 0", "Field 0", "Field 1", "Separator 1",
                                     "Separator 11"}),
            QStringLiteral("Anna|Emma|Carl|Dora||First Name|(-None-)||"));
  EXPECT_EQ(editor->cboProfileName->count(), 4);
  EXPECT_EQ(editor->cboProfileName->currentText(), QStringLiteral("Dora"));
  EXPECT_EQ(Row(*editor, 0), QStringLiteral("DoraMark,Spouse,"));
  EXPECT_EQ(editor->cmdNew->text(), QStringLiteral("&New"));
  EXPECT_TRUE(editor->cmdDelete->isEnabled() && editor->cboProfileName->isEnabled());
}

TEST_F(ProfilesEditorTest, DeleteAsksAndTheLastDeletedOpensTheNewNameWindow) {
  const QString ask = QStringLiteral(
      "Confirm Address Profile Delete|Are you sure you want to delete the %1 Address Profile?|292");
  const struct {
    QByteArray file;  // none: the new-name window opens on start and is closed
    QStringList boxes;
    QString stored;
  } cases[] = {
      {TempConfig::Index({"Anna"}) + "[Profile 0]\nBookmark 0=Mark\n", {ask.arg("Anna")},
       "(-Deleted-)|Mark"},
      {{}, {ask.arg(""), "Penlark Error|There is an inconsistency in the PENLARK.INI file.\n\r\n\r"
                         "Deleting this file is recommended,|48"}, "<missing>|<missing>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.toStdString());
    TempConfig file;
    pv.ConfigFilePath = file.path;
    if (!c.file.isEmpty()) file.Write(c.file);
    desktop.boxes.clear();
    desktop.formsShown.clear();
    frmProfiles editor(pv);
    desktop.Answer(MsgAnswer::Yes);
    editor.cmdDelete_Click();
    EXPECT_EQ(Boxes(desktop), c.boxes);
    EXPECT_EQ(Stored("Address Profiles", {"0"}) + u'|' + Stored("Profile 0", {"Bookmark 0"}),
              c.stored);
    EXPECT_EQ(editor.cboProfileName->count(), 0);
    EXPECT_EQ(desktop.formsShown, std::vector<QString>{QStringLiteral("frmNewName")});
  }
}

TEST_F(ProfilesEditorTest, BlankNameAndAThirtyThirdProfileAreRefused) {
  const QString blank = InvalidName("The Address Profile Name cannot be blank");
  const QString limit = QStringLiteral(
      "Address Profile Limit|Penlark can keep at most 32 Address Profiles.\n\r\n\r"
      "Please delete an Address Profile before adding another.|48");
  const struct {
    QByteArray file;
    QString name;  // none: OK with the empty name box left after the new-name window closed
    QStringList boxes;
  } cases[] = {{{}, {}, {blank}}, {{}, "   ", {blank, blank}},
               {TempConfig::Index(TempConfig::ThirtyTwoNames()), "Extra", {limit, limit}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    TempConfig file;
    pv.ConfigFilePath = file.path;
    if (!c.file.isEmpty()) file.Write(c.file);
    const QByteArray before = file.Bytes();
    desktop.boxes.clear();
    frmProfiles editor(pv);
    editor.show();
    if (!c.name.isNull()) NewProfile(editor, c.name, {1});
    SetFields(editor, {1});
    editor.cmdOK_Click();
    if (!c.name.isNull()) editor.cmdNew_Click();
    EXPECT_EQ(Boxes(desktop), c.boxes);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.cmdNew->text(), QString(c.name.isNull() ? "&New" : "&Save"));
    EXPECT_EQ(file.Bytes(), before);
  }
}

TEST_F(ProfilesEditorTest, FailedWriteKeepsTheEditorOpenAndTellsOnce) {
  pv.ConfigFilePath = config.dir.path() + QStringLiteral("/missing/PENLARK.INI");
  auto editor = Open({});
  editor->show();
  NewProfile(*editor, QStringLiteral("Anna"), {1, 2});
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

TEST_F(ProfilesEditorTest, FocusOrderAndEnterEscapeWriteNothing) {
  auto editor = Open(TempConfig::Index({"Anna"}), true);
  const QByteArray before = config.Bytes();
  std::vector<QWidget*> order{editor->cboProfileName};
  for (int row = 0; row < frmProfiles::kRows; ++row)
    order.insert(order.end(), {editor->txtBookmark[row], editor->cboField[row]});
  order.insert(order.end(), {editor->cmdNew, editor->cmdDelete, editor->cmdOK, editor->cmdCancel});
  order.insert(order.end(), editor->txtSeparator.begin(), editor->txtSeparator.end());
  order.push_back(editor->cboProfileName);
  SetFields(*editor, {1, 2});
  editor->cboProfileName->setFocus();
  for (size_t step = 1; step < order.size(); ++step) {
    SCOPED_TRACE(step);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), order[step]);
    EXPECT_EQ(editor->lblTabInstruction->isVisible(), step >= 29 && step <= 40);
    QTest::keyClick(order[step], Qt::Key_Return);
    QTest::keyClick(order[step], Qt::Key_Escape);
    ASSERT_TRUE(editor->isVisible());
  }
  EXPECT_EQ(config.Bytes(), before);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ProfilesEditorTest, BadBookmarkTakesTheFocusBackOnce) {
  auto editor = Open(TempConfig::Index({"Anna"}), true);
  editor->txtBookmark[0]->setFocus();
  QTest::keyClicks(editor->txtBookmark[0], QStringLiteral("Letter2"));
  editor->txtBookmark[1]->setText(QStringLiteral("Bad One"));
  QTest::keyClick(editor->txtBookmark[0], Qt::Key_Tab);
  EXPECT_EQ(Boxes(desktop), QStringList{InvalidName("The name entered may only use characters "
                                                    "\"A-Z\"; \"a-z\" and may not include "
                                                    "spaces.")});
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
