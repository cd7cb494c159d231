#include "profiles/frmNewName.h"

#include "ProfileTestFile.h"
#include "app/ProgramValues.h"
#include "profiles/frmProfiles.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

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

TEST(NewNameTest, NamesRefusedAndAcceptedCancelAndClose) {
  enum Press { OK, Cancel, Close };
  const QString duplicate = QStringLiteral("Duplicate Address Profile Name|%1 is the name of an "
                                           "existing Address Profile.\r\nPlease re-enter|48");
  const struct {
    QString typed;
    Press press;
    QString box;  // none: the window closes
  } cases[] = {
      {QString(32, u'x'), OK, {}},
      {QString(33, u'x'), OK, InvalidName("The name entered must not exceed 32 characters.")},
      {QStringLiteral("My Letters"), OK, {}},
      {QStringLiteral("Letter2"), OK,
       InvalidName("The name entered may only use characters \"A-Z\" and \"a-z\".")},
      {QString(), OK, InvalidName("The Address Profile Name cannot be blank")},
      {QStringLiteral("anna"), OK, {}},
      {QStringLiteral("Bert"), OK, duplicate.arg(QStringLiteral("Bert"))},
      {QStringLiteral("  Anna "), OK, duplicate.arg(QStringLiteral("  Anna "))},
      {QStringLiteral("Carl"), Cancel, {}},
      {QStringLiteral("Carl"), Close, {}},
  };
  ScriptedDesktopServices desktop;
  TempConfig config;
  ProgramValues pv(desktop, QDBusConnection(QString()));
  pv.ConfigFilePath = config.path;
  config.Write(TempConfig::Index({"Anna", "Bert"}) +
               "[Profile 0]\nBookmark 0=Mark\nField 0=Last Name\nSeparator 0=_\n");
  const QByteArray before = config.Bytes();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString() + std::to_string(c.press));
    desktop.boxes.clear();
    frmProfiles editor(pv);
    editor.txtBookmark[2]->setText(QStringLiteral("Edited"));
    frmNewName window(pv, editor);
    window.show();
    const QString untouched = EditorState(editor);
    window.txtNewProfileName->setText(c.typed);
    if (c.press == OK) window.cmdOK_Click();
    if (c.press == Cancel) window.cmdCancel_Click();
    if (c.press == Close) window.close();
    EXPECT_EQ(config.Bytes(), before);
    EXPECT_EQ(Boxes(desktop), c.box.isEmpty() ? QStringList() : QStringList{c.box});
    EXPECT_EQ(window.isVisible(), !c.box.isEmpty());
    EXPECT_EQ(window.txtNewProfileName->text(), c.box.isEmpty() ? c.typed : QString());
    if (c.press != OK || !c.box.isEmpty()) {
      EXPECT_EQ(EditorState(editor), untouched);
      continue;
    }
    EXPECT_EQ(editor.cboProfileName->currentIndex(), 2);
    QString newMode = c.typed + QStringLiteral("|&Save|300");
    for (int row = 0; row < frmProfiles::kRows; ++row) newMode += QStringLiteral("|,(-None-),");
    EXPECT_EQ(EditorState(editor), newMode);
  }
}

}  // namespace
