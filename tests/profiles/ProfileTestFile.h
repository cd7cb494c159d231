#pragma once

#include "support/ProgramFixture.h"

#include "config/ConfigFile.h"
#include "profiles/frmProfiles.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <set>

// The index section with these values under keys 0, 1, ...
inline QByteArray ProfileIndexFile(const QStringList& names) {
  QByteArray text = "[Address Profiles]\n";
  for (qsizetype slot = 0; slot < names.size(); ++slot)
    text += QByteArray::number(slot) + '=' + names[slot].toUtf8() + '\n';
  return text;
}
inline QStringList ThirtyTwoNames() {
  QStringList names;
  for (int slot = 0; slot < 32; ++slot) names << QStringLiteral("Name") + QChar(u'A' + slot);
  return names;
}

inline QString InvalidName(const QString& reason) {
  return QStringLiteral("Invalid Name|") + reason + QStringLiteral("\n\r\n\rPlease re-enter.|48");
}

// One row of a table run on the profile editor.
struct EditorCase {
  const char* what;
  QByteArray file;
  QString name;          // set: New, this name typed into the new-name window and OK
  std::set<int> fields;  // set: a field in just these rows (1-based; row n takes entry n)
  std::function<QString(frmProfiles&)> act;  // none: nothing more
  QString outcome;  // what act returned, then, with a name, the name box and whether it stayed
  QStringList shown;
  QString state = {};       // none: not compared
  QStringList stored = {};  // "Section/Key=value"; none: the file is unchanged
};

// PENLARK.INI in the fixture's folder as the configuration file. A class of each test file's
// own: shared by several files, the sanitizer's type check failed on its members here.
namespace {
class ProfilesTest : public PartnerFixture {
 protected:
  // Name, New caption, entry count, name box / Delete / window enabled or shown, then the
  // rows that are not empty as "n:bookmark,field,separator".
  static QString State(const frmProfiles& e) {
    QString state = e.cboProfileName->currentText() + u'|' + e.cmdNew->text() + u'|' +
                    QString::number(e.cboProfileName->count()) +
                    QString::number(e.cboProfileName->isEnabled()) +
                    QString::number(e.cmdDelete->isEnabled()) + QString::number(e.isVisible());
    for (int row = 0; row < frmProfiles::kRows; ++row) {
      const QString text = e.txtBookmark[row]->text() + u',' + e.cboField[row]->currentText() +
                           u',' + e.txtSeparator[row]->text();
      if (text != QStringLiteral(",(-None-),")) state += QStringLiteral("|%1:").arg(row + 1) + text;
    }
    return state;
  }

  // Each case on a file of its own, with the editor shown.
  void Run(std::initializer_list<EditorCase> cases) {
    for (const EditorCase& c : cases) {
      SCOPED_TRACE(c.what);
      ASSERT_TRUE(PutBytes(pv.ConfigFilePath = Ini(), c.file));
      desktop = ScriptedDesktopServices();
      frmProfiles editor(pv);
      editor.show();
      QString afterOK;
      if (!c.name.isEmpty()) {
        desktop.OnForm(QStringLiteral("frmNewName"), [&](QDialog& window) {
          auto* box = window.findChild<QLineEdit*>(QStringLiteral("txtNewProfileName"));
          box->setText(c.name);
          window.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
          afterOK = box->text() + QString::number(window.isVisible());
        });
        editor.cmdNew_Click();
      }
      for (int row = 0; row < frmProfiles::kRows && !c.fields.empty(); ++row)
        editor.cboField[row]->setCurrentIndex(c.fields.count(row + 1) ? 1 + row : 0);
      EXPECT_EQ((c.act ? c.act(editor) : QString()) + afterOK, c.outcome);
      EXPECT_EQ(Shown(desktop, false, true), c.shown);
      if (!c.state.isEmpty()) {
        EXPECT_EQ(State(editor), c.state);
      }
      if (c.stored.isEmpty()) {
        EXPECT_EQ(ReadBytes(Ini()), c.file);
        continue;
      }
      QStringList stored = c.stored;
      for (QString& entry : stored) {
        const QString path = entry.section(u'=', 0, 0);
        entry = path + u'=' + ReadConfigString(Ini(), path.section(u'/', 0, 0),
                                               path.section(u'/', 1), "<missing>");
      }
      EXPECT_EQ(stored, c.stored);
    }
  }
};
}  // namespace
