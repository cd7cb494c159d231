#include "ConfigFixture.h"

#include "config/ConfigChecks.h"

namespace {

const QString kAskFile = QStringLiteral(
    "Configuration Information Required|No Organizer data file has been entered for Penlark to access.\n\r\n\r"
    "Do you want to enter details of your Organizer data file now?|52|0");
const QString kAskSection = QStringLiteral(
    "Configuration Information Required|No Organizer Address section name has been entered for Penlark to "
    "access.\n\r\n\rDo you want to enter details of your Organizer Address section now?|52|0");
const QString kAskOther = QStringLiteral(
    "Organizer Data File Inaccessible|The Organizer data file referred to in the Organizer File Path cannot be "
    "accessed.\n\r\n\rDo you want to specify another Organizer data file for Penlark to use?|52|0");

using ConfigChecksTest = ConfigFixture;

// Each row: what is stored, the answers and Options scripts, then the file and section the
// checks give with the pointer and the number of forms shown after, or "<ended>".
TEST_F(ConfigChecksTest, AsksInOrderAndRepeatsUntilTheFileIsReachable) {
  const QString book = MakeFile(QStringLiteral("book.or3"));
  const QString longName = QString(std::max(70 - int(dir.path().size()), 10), QLatin1Char('n'));
  const OptionsScript cancel = [](frmOptions& form) { form.cmdCancel->click(); };
  const auto saves = [](const QString& path) -> OptionsScript {
    return [path](frmOptions& form) {
      form.txtFilePath->setText(path);
      form.txtAddressSection->setText(QStringLiteral("Address"));
      form.cmdOK->click();
    };
  };
  struct Row {
    QString stored;  // the stored file path; empty: no settings at all
    std::vector<int> answers;
    std::vector<OptionsScript> options;
    QString outcome;
    QStringList boxes;
  } rows[] = {
      {{}, {MsgAnswer::Yes}, {saves(dir.filePath("gone.or3"))}, "@/gone.or3|Address|11|1", {kAskFile}},
      {{}, {MsgAnswer::No, MsgAnswer::No}, {}, "||11|0", {kAskFile, kAskSection}},
      {MakeFile(longName + ".oR2"), {}, {}, "@/" + longName + ".oR2|Address|11|0", {}},
      {dir.filePath("gone.or3"), {MsgAnswer::Yes, MsgAnswer::Yes}, {cancel, saves(book)},
       "@/book.or3|Address|11|2", {kAskOther, kAskOther}},
      {dir.filePath("no-folder/book.or3"), {MsgAnswer::Yes}, {saves(book)}, "@/book.or3|Address|11|1", {kAskOther}},
      {dir.filePath("gone.or2"), {MsgAnswer::No}, {}, "<ended>", {kAskOther}},
      {dir.path(), {}, {}, "@|Address|11|0", {}},  // a folder passes; the link set-up judges it
      {book + "/inner.or3", {MsgAnswer::Yes}, {saves(book)}, "@/book.or3|Address|11|1", {kAskOther}},  // not a folder
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.outcome.toStdString());
    QFile::remove(pv.ConfigFilePath);
    desktop = {};
    if (!row.stored.isEmpty()) {
      Set("Options", "Organizer File Path", row.stored);
      Set("Options", "Organizer Address Section", QStringLiteral("Address"));
    }
    for (int answer : row.answers) desktop.Answer(answer);
    for (const OptionsScript& script : row.options) OnOptions(script);
    desktop.SetMousePointer(Pointer::Hourglass);
    QString outcome = QStringLiteral("<ended>");
    try {
      const QString file = CheckOrganizerFile(pv), pointer = QString::number(desktop.MousePointer());
      const QString forms = QString::number(desktop.formsShown.size());
      outcome = QStringList{file, CheckAddressSection(pv), pointer, forms}.join(u'|');
    } catch (const ProgramEnded&) {
    }
    EXPECT_EQ(outcome.toStdString(), QString(row.outcome).replace(u'@', dir.path()).toStdString());
    EXPECT_EQ(Shown(desktop, true), row.boxes);
  }
}

}  // namespace
