#include "profiles/frmNewName.h"

#include "ProfileTestFile.h"
#include "app/ProgramValues.h"
#include "platform/ScriptedDesktopServices.h"
#include "profiles/frmProfiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Everything of the editor the window may change, as one text.
QString EditorState(const frmProfiles& editor) {
  QString state = editor.cboProfileName->currentText() + u'|' + editor.cmdNew->text() + u'|' +
                  QString::number(editor.cboProfileName->count()) +
                  QString::number(editor.cboProfileName->isEnabled()) +
                  QString::number(editor.cmdDelete->isEnabled());
  for (int row = 0; row < frmProfiles::kRows; ++row)
    state += u'|' + editor.txtBookmark[row]->text() + u',' + editor.cboField[row]->currentText() +
             u',' + editor.txtSeparator[row]->text();
  return state;
}

class NewNameTest : public ::testing::Test {
 protected:
  NewNameTest() : pv(desktop, QDBusConnection(QString())) {
    pv.ConfigFilePath = config.path;
    config.Write(TempConfig::Index({"Anna", "Bert"}) +
                 "[Profile 0]\nBookmark 0=Mark\nField 0=Last Name\nSeparator 0=_\n");
    dialog.show();
  }

  ScriptedDesktopServices desktop;
  TempConfig config;
  ProgramValues pv;
  frmProfiles editor{pv};
  frmNewName dialog{pv, editor};
};

TEST_F(NewNameTest, NamesRefusedAndAccepted) {
  const QString invalid = QStringLiteral("Invalid Name");
  const QString duplicate = QStringLiteral("Duplicate Address Profile Name");
  const QString reEnter = QStringLiteral("\n\r\n\rPlease re-enter.");
  struct Case {
    QString typed, title, text;  // no title: accepted
  };
  const Case cases[] = {
      {QString(32, u'x'), {}, {}},
      {QString(33, u'x'), invalid,
       QStringLiteral("The name entered must not exceed 32 characters.") + reEnter},
      {QStringLiteral("My Letters"), {}, {}},
      {QStringLiteral("Letter2"), invalid,
       QStringLiteral("The name entered may only use characters \"A-Z\" and \"a-z\".") + reEnter},
      {QString(), invalid, QStringLiteral("The Address Profile Name cannot be blank") + reEnter},
      {QStringLiteral("anna"), {}, {}},
      {QStringLiteral("Bert"), duplicate,
       QStringLiteral("Bert is the name of an existing Address Profile.\r\nPlease re-enter")},
      {QStringLiteral("  Anna "), duplicate,
       QStringLiteral("  Anna  is the name of an existing Address Profile.\r\nPlease re-enter")},
  };
  const QByteArray before = config.Bytes();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    desktop.boxes.clear();
    frmProfiles target(pv);
    frmNewName window(pv, target);
    window.show();
    const QString untouched = EditorState(target);
    window.txtNewProfileName->setText(c.typed);
    window.cmdOK_Click();
    EXPECT_EQ(config.Bytes(), before);
    if (!c.title.isEmpty()) {
      ASSERT_EQ(desktop.boxes.size(), 1u);
      EXPECT_EQ(desktop.boxes[0].title, c.title);
      EXPECT_EQ(desktop.boxes[0].text, c.text);
      EXPECT_EQ(desktop.boxes[0].style, 48);
      EXPECT_TRUE(window.isVisible());
      EXPECT_EQ(window.txtNewProfileName->text(), QString());
      EXPECT_EQ(EditorState(target), untouched);
      continue;
    }
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(target.cboProfileName->currentIndex(), 2);
    QString newMode = c.typed + QStringLiteral("|&Save|300");
    for (int row = 0; row < frmProfiles::kRows; ++row) newMode += QStringLiteral("|,(-None-),");
    EXPECT_EQ(EditorState(target), newMode);
  }
}

TEST_F(NewNameTest, CancelAndCloseLeaveTheEditorAlone) {
  editor.cboProfileName->setCurrentIndex(1);
  editor.txtBookmark[2]->setText(QStringLiteral("Edited"));
  const QString untouched = EditorState(editor);
  dialog.txtNewProfileName->setText(QStringLiteral("Carl"));
  dialog.cmdCancel_Click();
  EXPECT_FALSE(dialog.isVisible());

  frmNewName closed(pv, editor);
  closed.show();
  closed.txtNewProfileName->setText(QStringLiteral("Carl"));
  closed.close();
  EXPECT_EQ(EditorState(editor), untouched);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(NewNameTest, FocusInTheNameBoxEnterPressesOKAndEscapeDoesNothing) {
  QApplication::setActiveWindow(&dialog);
  EXPECT_EQ(QApplication::focusWidget(), dialog.txtNewProfileName);
  QTest::keyClicks(dialog.txtNewProfileName, QStringLiteral("Carl"));
  QTest::keyClick(dialog.txtNewProfileName, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  QTest::keyClick(dialog.txtNewProfileName, Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(editor.cboProfileName->currentText(), QStringLiteral("Carl"));
}

}  // namespace
