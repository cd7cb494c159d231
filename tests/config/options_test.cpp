#include "ConfigFixture.h"

#include "platform/Screenshot.h"

#include <QCheckBox>

namespace {

class OptionsTest : public ConfigFixture {
 protected:
  // Opens the window as its callers do, with the script run while it is shown.
  void Show(std::function<void(frmOptions&)> script) {
    OnOptions(std::move(script));
    frmOptions form(pv);
    desktop.ShowModal(form);
    closedVisible = form.isVisible();
  }
  bool closedVisible = true;
};

TEST_F(OptionsTest, BothBoxesEmptyTellsOnceAndSavesOnlyTheCheckBox) {
  pv.OrganizerFilePath = QStringLiteral("kept");
  pv.AddressSectionName = QStringLiteral("kept too");
  pv.OrganizerLinkOpen = true;
  Show([](frmOptions& form) { form.cmdOK->click(); });
  ExpectBoxes({{QStringLiteral("Incomplete Configuration"),
                QStringLiteral("Penlark will not function with a blank File Path or Address "
                               "Section Name."),
                48}});
  EXPECT_EQ(Get("Organizer File Path"), "<missing>");
  EXPECT_EQ(Get("Organizer Address Section"), "<missing>");
  EXPECT_EQ(Get("Skip Blank Fields"), "0");
  EXPECT_EQ(pv.OrganizerFilePath, "kept");
  EXPECT_EQ(pv.AddressSectionName, "kept too");
  EXPECT_FALSE(pv.OrganizerLinkOpen);
  EXPECT_FALSE(closedVisible);
}

TEST_F(OptionsTest, PathIsStoredAsTypedAndAnOr2FileIsUsedInShortForm) {
  struct Row {
    const char* name;
    bool exists, or2;
  } rows[] = {{"people.or2", true, true}, {"PEOPLE.Or2", true, true}, {"gone.or2", false, true},
              {"gone.OR3", false, false}, {"or2", false, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QString name = QString::fromLatin1(row.name);
    const QString path = row.exists ? MakeFile(name) : dir.filePath(name);
    Show(OptionsSaves(path, QStringLiteral("Address")));
    EXPECT_EQ(Get("Organizer File Path"), path);
    // No 8.3 names here: an existing file's short form is its path, a missing one has none.
    EXPECT_EQ(pv.OrganizerFilePath, row.or2 && !row.exists ? QString() : path);
    EXPECT_EQ(pv.AddressSectionName, "Address");
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OptionsTest, StoredValuesAreShownWholeAndTheTickIsStoredAsOne) {
  const QString path = QStringLiteral("/srv/") + QString(70, QLatin1Char('p')) + QStringLiteral(".or3");
  const QString section(40, QLatin1Char('s'));
  Set("Organizer File Path", path);
  Set("Organizer Address Section", section);
  Show([](frmOptions& form) {
    form.chkSkipBlankFields->click();
    form.cmdOK->click();
  });
  EXPECT_EQ(Get("Skip Blank Fields"), "1");
  frmOptions again(pv);
  EXPECT_EQ(again.txtFilePath->text(), path);
  EXPECT_EQ(again.txtAddressSection->text(), section);
  EXPECT_TRUE(again.chkSkipBlankFields->isChecked());
  Screenshot(again);
}

TEST_F(OptionsTest, CancelAndACancelledBrowseChangeNothing) {
  Set("Organizer File Path", QStringLiteral("/data/book.or3"));
  QFile ini(pv.ConfigFilePath);
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  const QByteArray before = ini.readAll();
  pv.OrganizerLinkOpen = true;
  Show([&](frmOptions& form) {
    form.txtFilePath->setText(QStringLiteral("/elsewhere/other.or2"));
    form.txtAddressSection->setText(QStringLiteral("Friends"));
    form.chkSkipBlankFields->click();
    form.cmdCancel->click();
  });
  ini.seek(0);
  EXPECT_EQ(ini.readAll(), before);
  EXPECT_TRUE(pv.OrganizerLinkOpen);
  EXPECT_TRUE(pv.OrganizerFilePath.isEmpty());
  EXPECT_FALSE(closedVisible);

  frmOptions form(pv);
  desktop.ChooseFile(std::nullopt);
  form.cmdBrowse->click();
  EXPECT_EQ(form.txtFilePath->text(), "/data/book.or3");
  desktop.ChooseFile(QStringLiteral("/home/ann/Contacts.OR2"));
  form.cmdBrowse->click();
  EXPECT_EQ(form.txtFilePath->text(), "/home/ann/Contacts.OR2");
  ASSERT_EQ(desktop.openDialogs.size(), 2u);
  EXPECT_EQ(desktop.openDialogs[0].title, "Select Organizer Data File");
  EXPECT_EQ(desktop.openDialogs[0].filter,
            "Organizer 2 Data Files (*.or2)|*.or2|Organizer 97 Data Files (*.or3)|*.or3");
  EXPECT_EQ(desktop.openDialogs[0].defaultExt, "OR2");
  EXPECT_EQ(desktop.openDialogs[0].flags, 0x4004);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OptionsTest, AWriteRefusedMidwayStopsTheWritesAfterIt) {
  const QString path = MakeFile(QStringLiteral("book.or3"));
  pv.OrganizerLinkOpen = true;
  Show([&](frmOptions& form) {
    form.txtFilePath->setText(path);
    form.txtAddressSection->setText(QStringLiteral("Add\nress"));  // refused by the file
    form.chkSkipBlankFields->click();
    form.cmdOK->click();
  });
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Penlark Error");
  EXPECT_EQ(Get("Organizer File Path"), path);
  EXPECT_EQ(Get("Organizer Address Section") + Get("Skip Blank Fields"), "<missing><missing>");
  EXPECT_FALSE(pv.OrganizerLinkOpen);
  EXPECT_FALSE(closedVisible);
}

}  // namespace
