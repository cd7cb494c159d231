#include "ConfigFixture.h"

#include "config/frmOptions.h"

#include <QApplication>
#include <QGroupBox>
#include <QTest>

#include <functional>

namespace {

const char kIncomplete[] =
    "Penlark will not function with a blank File Path or Address Section Name.";

class OptionsTest : public ConfigFixture {
 protected:
  // Opens the window as its callers do and runs the script (if any; else the one queued
  // before) while it is shown.
  void Show(std::function<void(QDialog&)> script) {
    if (script) desktop.OnForm(QStringLiteral("frmOptions"), std::move(script));
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
  Show([](QDialog& form) { Press(form, "cmdOK"); });

  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Incomplete Configuration"));
  EXPECT_EQ(desktop.boxes[0].text, QString::fromLatin1(kIncomplete));
  EXPECT_EQ(desktop.boxes[0].style, 48);
  EXPECT_EQ(Get("Organizer File Path"), QStringLiteral("<missing>"));
  EXPECT_EQ(Get("Organizer Address Section"), QStringLiteral("<missing>"));
  EXPECT_EQ(Get("Skip Blank Fields"), QStringLiteral("0"));
  EXPECT_EQ(pv.OrganizerFilePath, QStringLiteral("kept"));
  EXPECT_EQ(pv.AddressSectionName, QStringLiteral("kept too"));
  EXPECT_FALSE(pv.OrganizerLinkOpen);
  EXPECT_FALSE(closedVisible);
}

TEST_F(OptionsTest, PathIsStoredAsTypedAndAnOr2FileIsUsedInShortForm) {
  struct Row {
    const char* name;
    bool exists;
    bool or2;
  };
  const Row rows[] = {
      {"people.or2", true, true}, {"PEOPLE.Or2", true, true}, {"gone.or2", false, true},
      {"gone.OR3", false, false}, {"or2", false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QString path = row.exists ? MakeFile(QString::fromLatin1(row.name))
                                    : dir.filePath(QString::fromLatin1(row.name));
    OptionsSaves(path, QStringLiteral("Address"));
    Show({});
    EXPECT_EQ(Get("Organizer File Path"), path);
    // Linux has no 8.3 names: the short form of an existing file is its path, a missing
    // file has none.
    EXPECT_EQ(pv.OrganizerFilePath, row.or2 && !row.exists ? QString() : path);
    EXPECT_EQ(pv.AddressSectionName, QStringLiteral("Address"));
    EXPECT_TRUE(desktop.boxes.empty());
  }
}

TEST_F(OptionsTest, OpeningShowsTheStoredValuesWhole) {
  const QString path = QStringLiteral("/srv/shared/address-books/") + QString(70, QLatin1Char('p')) +
                       QStringLiteral(".or3");
  const QString section = QString(40, QLatin1Char('s'));
  Set("Organizer File Path", path);
  Set("Organizer Address Section", section);
  struct Row {
    const char* stored;
    bool ticked;
  };
  for (const Row& row : {Row{"0", false}, Row{"1", true}, Row{"5", true}, Row{"-1", true},
                         Row{"yes", false}}) {
    SCOPED_TRACE(row.stored);
    Set("Skip Blank Fields", QString::fromLatin1(row.stored));
    frmOptions form(pv);
    EXPECT_EQ(form.txtFilePath->text(), path);
    EXPECT_EQ(form.txtAddressSection->text(), section);
    EXPECT_EQ(form.chkSkipBlankFields->isChecked(), row.ticked);
  }
}

TEST_F(OptionsTest, TickingSkipIsStoredAsOneAndShownNextTime) {
  Show([](QDialog& form) {
    SkipBox(form)->click();
    Press(form, "cmdOK");
  });
  EXPECT_EQ(Get("Skip Blank Fields"), QStringLiteral("1"));
  frmOptions again(pv);
  EXPECT_TRUE(again.chkSkipBlankFields->isChecked());
}

TEST_F(OptionsTest, CancelAndEscChangeNothing) {
  Set("Organizer File Path", QStringLiteral("/data/book.or3"));
  Set("Organizer Address Section", QStringLiteral("Address"));
  Set("Skip Blank Fields", QStringLiteral("0"));
  const QByteArray before = IniBytes();
  pv.OrganizerLinkOpen = true;
  auto changeAll = [](QDialog& form) {
    Type(form, "txtFilePath", QStringLiteral("/elsewhere/other.or2"));
    Type(form, "txtAddressSection", QStringLiteral("Friends"));
    SkipBox(form)->click();
  };
  Show([&](QDialog& form) {
    changeAll(form);
    Press(form, "cmdCancel");
  });
  Show([&](QDialog& form) {
    changeAll(form);
    QTest::keyClick(form.findChild<QLineEdit*>(QStringLiteral("txtFilePath")), Qt::Key_Escape);
  });
  EXPECT_EQ(IniBytes(), before);
  EXPECT_TRUE(pv.OrganizerLinkOpen);
  EXPECT_TRUE(pv.OrganizerFilePath.isEmpty());
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(closedVisible);
}

TEST_F(OptionsTest, BrowseSetsThePathOnlyWhenAFileIsChosen) {
  Set("Organizer File Path", QStringLiteral("/data/book.or3"));
  frmOptions form(pv);
  desktop.ChooseFile(std::nullopt);
  form.cmdBrowse->click();
  EXPECT_EQ(form.txtFilePath->text(), QStringLiteral("/data/book.or3"));
  desktop.ChooseFile(QStringLiteral("/home/ann/Contacts.OR2"));
  form.cmdBrowse->click();
  EXPECT_EQ(form.txtFilePath->text(), QStringLiteral("/home/ann/Contacts.OR2"));
  EXPECT_TRUE(desktop.boxes.empty());

  ASSERT_EQ(desktop.openDialogs.size(), 2u);
  const FileOpenSettings& used = desktop.openDialogs[0];
  EXPECT_EQ(used.title, QStringLiteral("Select Organizer Data File"));
  EXPECT_EQ(used.filter, QStringLiteral("Organizer 2 Data Files (*.or2)|*.or2|"
                                        "Organizer 97 Data Files (*.or3)|*.or3"));
  EXPECT_EQ(used.defaultExt, QStringLiteral("OR2"));
  EXPECT_EQ(used.flags, 0x4004);
}

TEST_F(OptionsTest, AWriteRefusedMidwayStopsTheWritesAfterIt) {
  // A section name with a line break is refused by the profile file.
  const QString path = MakeFile(QStringLiteral("book.or3"));
  pv.OrganizerLinkOpen = true;
  Show([&](QDialog& form) {
    Type(form, "txtFilePath", path);
    Type(form, "txtAddressSection", QStringLiteral("Add\nress"));
    SkipBox(form)->click();
    Press(form, "cmdOK");
  });
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("Penlark Error"));
  EXPECT_EQ(Get("Organizer File Path"), path);
  EXPECT_EQ(pv.OrganizerFilePath, path);
  EXPECT_EQ(Get("Organizer Address Section"), QStringLiteral("<missing>"));
  EXPECT_EQ(Get("Skip Blank Fields"), QStringLiteral("<missing>"));
  EXPECT_TRUE(pv.AddressSectionName.isEmpty());
  EXPECT_FALSE(pv.OrganizerLinkOpen);
  EXPECT_FALSE(closedVisible);
}

TEST_F(OptionsTest, TabOrderAndPicture) {
  frmOptions form(pv);

  const std::vector<QWidget*> expected{form.txtFilePath, form.cmdBrowse, form.txtAddressSection,
                                       form.chkSkipBlankFields, form.cmdOK, form.cmdCancel};
  std::vector<QWidget*> order;
  QWidget* w = form.txtFilePath;
  do {
    if (w->focusPolicy() & Qt::TabFocus) order.push_back(w);
    w = w->nextInFocusChain();
  } while (w != form.txtFilePath);
  EXPECT_EQ(order, expected);

  form.show();
  QApplication::processEvents();
  EXPECT_GT(form.cmdOK->geometry().top(), form.grpOrganizerFile->geometry().bottom());
  const QPixmap picture = form.grab();
  ASSERT_FALSE(picture.isNull());
  const QString folder = qEnvironmentVariable("PENLARK_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(picture.save(folder + QStringLiteral("/frmOptions.png")));
  }
}

}  // namespace
