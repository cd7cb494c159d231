#include "ConfigFixture.h"

#include "config/ConfigFile.h"

#include <QCheckBox>

namespace {

using OptionsTest = ConfigFixture;

// Each row: what is typed, whether the tick is clicked and OK or Cancel pressed; then the
// stored options, pv's file, section and link flag, and the boxes, each part after a "#".
TEST_F(OptionsTest, OkSavesWhatIsTypedAndCancelNothing) {
  struct Row {
    QString path, section;
    bool tick, ok;
    QString outcome;
  } rows[] = {
      {{}, {}, false, true, "<missing>|<missing>|0#kept|kept too|0#Incomplete Configuration|Penlark will not "
                            "function with a blank File Path or Address Section Name.|48|0"},
      {MakeFile("PEOPLE.Or2"), "Address", true, true, "@/PEOPLE.Or2|Address|1#@/PEOPLE.Or2|Address|0#"},
      {"@/gone.or2", "Address", false, true, "@/gone.or2|Address|0#|Address|0#"},
      {"@/or2", "Address", false, true, "@/or2|Address|0#@/or2|Address|0#"},
      {"/elsewhere/other.or2", "Friends", true, false, "<missing>|<missing>|<missing>#kept|kept too|1#"},
      {"@/PEOPLE.Or2", "Add\nress", true, true,
       "@/PEOPLE.Or2|<missing>|<missing>#@/PEOPLE.Or2|kept too|0#Penlark Error|The configuration file @/PENLARK.INI "
       "could not be saved.\n\r\n\rThe value of \"Organizer Address Section\" holds a line break.|48|0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.outcome.toStdString());
    QFile::remove(pv.ConfigFilePath);
    desktop.boxes.clear();
    pv.OrganizerFilePath = QStringLiteral("kept");
    pv.AddressSectionName = QStringLiteral("kept too");
    pv.OrganizerLinkOpen = true;
    OnOptions([&](frmOptions& form) {
      form.txtFilePath->setText(QString(row.path).replace(u'@', dir.path()));
      form.txtAddressSection->setText(row.section);
      if (row.tick) form.chkSkipBlankFields->click();
      (row.ok ? form.cmdOK : form.cmdCancel)->click();
    });
    frmOptions form(pv);
    desktop.ShowModal(form);
    EXPECT_FALSE(form.isVisible());
    const QString values = QStringList{pv.OrganizerFilePath, pv.AddressSectionName,
                                       QString::number(pv.OrganizerLinkOpen)}.join(u'|');
    EXPECT_EQ(QStringList({Stored(), values, Shown(desktop, true).join(u'#')}).join(u'#').toStdString(),
              QString(row.outcome).replace(u'@', dir.path()).toStdString());
  }
}

// Qt's own file dialog (the address books offered first, nothing of its own left in the
// home folder): e2e.PenlarkWindows.AboutOptionsAndBrowse.
TEST_F(OptionsTest, StoredValuesAreShownWholeAndBrowseTakesOnlyAChosenFile) {
  const QString path = QStringLiteral("/srv/") + QString(70, QLatin1Char('p')) + QStringLiteral(".or3");
  Set("Options", "Organizer File Path", path);
  Set("Options", "Organizer Address Section", QString(40, QLatin1Char('s')));
  Set("Options", "Skip Blank Fields", QStringLiteral("2"));
  frmOptions form(pv);
  EXPECT_TRUE(form.chkSkipBlankFields->isChecked());
  QStringList seen{form.txtAddressSection->text()};
  for (const std::optional<QString>& chosen : {std::optional<QString>(), std::optional<QString>("/a/B.OR2")}) {
    desktop.ChooseFile(chosen);
    form.cmdBrowse->click();
    seen << form.txtFilePath->text();
  }
  EXPECT_EQ(seen, QStringList({QString(40, QLatin1Char('s')), path, "/a/B.OR2"}));
  ASSERT_EQ(desktop.openDialogs.size(), 2u);
  const FileOpenSettings& asked = desktop.openDialogs[0];
  EXPECT_EQ(QStringList({asked.title, asked.filter, asked.defaultExt, QString::number(asked.flags)}).join(u'|'),
            "Select Organizer Data File|Address Books (*.vcf *.json)|*.vcf;*.json|vCard Files (*.vcf)|*.vcf|"
            "JSON Address Books (*.json)|*.json|Organizer 2 Data Files (*.or2)|*.or2|Organizer 97 Data Files "
            "(*.or3)|*.or3|All Files (*)|*|OR2|16388");
  EXPECT_TRUE(desktop.boxes.empty());
}

using ConfigFileTest = ConfigFixture;

// The writer under the Options window and every other save: the box with the pointer as an
// arrow while it is shown, and the pointer as it was afterwards.
TEST_F(ConfigFileTest, FailedWriteTellsTheUserOnceAndReturnsFalse) {
  pv.ConfigFilePath = dir.filePath(QStringLiteral("gone/PENLARK.INI"));
  desktop.SetMousePointer(Pointer::Hourglass);
  EXPECT_FALSE(WriteConfigString(pv, QStringLiteral("Options"), QStringLiteral("Skip Blank Fields"), "1"));
  EXPECT_EQ(Shown(desktop, true), QStringList{QStringLiteral("Penlark Error|The configuration file ") + pv.ConfigFilePath +
                                 QStringLiteral(" could not be saved.\n\r\n\rNo such file or directory|48|0")});
  EXPECT_EQ(desktop.MousePointer(), Pointer::Hourglass);
}

}  // namespace
