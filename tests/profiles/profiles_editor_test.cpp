#include "profiles/frmProfiles.h"

#include "ProfileTestFile.h"

#include <QTest>

namespace {

using ProfilesEditorTest = ProfilesTest;

// Delete answered No keeps the profile and the file: e2e.PenlarkWindows.ProfileEditor.
TEST_F(ProfilesEditorTest, RowRulesSavingDeletingAndKeys) {
  const QByteArray anna = ProfileIndexFile({"Anna"});
  const QString embedded = QStringLiteral(
      "Embedded (-None-) Organizer Data Field|Row %1 of the Address Profile contains no Organizer "
      "Data Field.  A (-None-) Organizer Data Field is not permitted between two valid data "
      "fields.\n\r\n\rPlease replace the (-None-) field at row %1 with a valid field name.|64");
  const QString ask = QStringLiteral(
      "Confirm Address Profile Delete|Are you sure you want to delete the %1 Address Profile?|292");
  const QString blank = InvalidName("The Address Profile Name cannot be blank");
  const QString limit = QStringLiteral(
      "Address Profile Limit|Penlark can keep at most 32 Address Profiles.\n\r\n\r"
      "Please delete an Address Profile before adding another.|48");
  const QString missing = dir.filePath(QStringLiteral("missing/PENLARK.INI"));
  const QString failed =
      "Penlark Error|" + ConfigWriteFailedText(missing, "No such file or directory") + "|48";
  const QString whole = QStringLiteral("AbcdefghijklmnopqrstuvwxyzAbcdefghij");
  const auto ok = [](frmProfiles& e) { e.cmdOK_Click(); return QString::number(e.isVisible()); };
  const auto saveOk = [](frmProfiles& e) { e.cmdNew_Click(); e.cmdOK_Click(); return QString(); };
  Run({
      {"rows 2 and 5", anna, {}, {2, 5}, ok, "1", {embedded.arg(4)}},
      {"rows 2 to 5", anna, {}, {2, 3, 4, 5}, ok, "1", {embedded.arg(1)}},
      {"no field", anna, {}, {}, ok, "1",
       {"No Organizer Data Fields|No Organizer Data Fields are included in the Address Profile."
        "\n\r\n\rPlease add at at least one Organizer Data Field to the Address Profile.|64"}},
      {"a name of blanks", {}, "   ", {1}, saveOk, "   0",
       {blank, blank, "frmNewName", "frmNewName"}, "   |&Save|1001|1:,First Name,"},
      {"a 33rd profile", ProfileIndexFile(ThirtyTwoNames()), "Extra", {1}, saveOk,
       "Extra0", {limit, limit, "frmNewName"}, "Extra|&Save|33001|1:,First Name,"},
      {"a failed write keeps the editor open", {}, "Anna", {1},
       [&](frmProfiles& e) { pv.ConfigFilePath = missing; return saveOk(e); }, "Anna0",
       {failed, failed, "frmNewName", "frmNewName"}, "Anna|&Save|1001|1:,First Name,"},
      {"the freed slot", ProfileIndexFile({"Anna", "(-Deleted-)", "Carl", "Dora"}) +
           "[Profile 1]\nBookmark 0=Stale\nField 1=Home/Zip\nSeparator 1=s\n"
           "[Profile 3]\nBookmark 0=DoraMark\nField 0=Spouse\n",
       "Emma", {1}, saveOk, "Emma0", {"frmNewName"}, "Dora|&New|4110|1:DoraMark,Spouse,",
       {"Address Profiles/1=Emma", "Profile 1/Bookmark 0=", "Profile 1/Field 0=First Name",
        "Profile 1/Field 1=(-None-)", "Profile 1/Separator 1=", "Profile 1/Separator 11="}},
      {"delete the last; Delete, OK with no name", anna + "[Profile 0]\nBookmark 0=Mark\n", {}, {1},
       [&](frmProfiles& e) {
         desktop.Answer(MsgAnswer::Yes);
         desktop.Answer(MsgAnswer::Yes);
         e.cmdDelete_Click();
         e.cmdDelete_Click();
         return ok(e);
       },
       "1", {ask.arg("Anna"), ask.arg(""),
        "Penlark Error|There is an inconsistency in the PENLARK.INI file.\n\r\n\r"
        "Deleting this file is recommended,|48", blank, "frmNewName"},
       "|&New|0111|1:Mark,First Name,",
       {"Address Profiles/0=(-Deleted-)", "Profile 0/Bookmark 0=Mark"}},
      {"values whole, an unknown field kept; separator keys; typing in a field box beeps",
       anna + "[Profile 0]\nBookmark 0=" + whole.toUtf8() + "\nField 0=First Name\nField 1=X\n",
       {}, {},
       [&](frmProfiles& e) {
         QTest::keyClicks(e.txtSeparator[1], QStringLiteral("\r a"));
         e.txtSeparator[1]->setCursorPosition(0);
         QTest::keyClick(e.txtSeparator[1], Qt::Key_Tab, Qt::ControlModifier);
         QTest::keyClick(e.txtSeparator[1], Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
         QTest::keyClicks(e.cboField[2], QStringLiteral("bh "));
         QTest::keyClick(e.cboField[2], Qt::Key_Down);  // not a character: the list steps
         return QString::number(desktop.beeps) + ok(e);
       },
       "30", {},
       "Anna|&New|1110|1:" + whole + ",First Name,|2:,X,\u00B6_a\u00BB|3:,First Name,",
       {"Profile 0/Bookmark 0=" + whole, "Profile 0/Field 1=X",
        "Profile 0/Separator 1=\u00B6_a\u00BB", "Profile 0/Field 2=First Name"}},
  });
}

using NewNameTest = ProfilesTest;

// The new-name window, opened by New. Cancel, Enter and Esc: e2e.PenlarkWindows.ProfileEditor.
TEST_F(NewNameTest, NamesRefusedAndAccepted) {
  const QByteArray file = ProfileIndexFile({"Anna", "Bert"}) +
                          "[Profile 0]\nBookmark 0=Mark\nField 0=Last Name\nSeparator 0=_\n";
  const QString kept = QStringLiteral("Anna|&New|2111|1:Mark,Last Name,_");
  Run({
      {"blanks inside", file, "A b", {}, {}, "A b0", {"frmNewName"}, "A b|&Save|3001"},
      {"a digit", file, "Letter2", {}, {}, "1",
       {InvalidName("The name entered may only use characters \"A-Z\" and \"a-z\"."), "frmNewName"},
       kept},
      {"another case", file, "anna", {}, {}, "anna0", {"frmNewName"}, "anna|&Save|3001"},
      {"blanks around a stored name", file, "  Anna ", {}, {}, "1",
       {"Duplicate Address Profile Name|  Anna  is the name of an existing Address Profile.\r\n"
        "Please re-enter|48", "frmNewName"}, kept},
  });
}

}  // namespace
