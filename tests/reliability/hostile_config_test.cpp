#include "ReliabilityFixture.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

using HostileConfigTest = ReliabilityFixture;

// PENLARK.INI holds a working configuration among hostile bytes. Start-up, every window,
// a search and a transfer work as with a clean file, and in the end the file holds the
// bytes it held plus only what the program wrote.
TEST_F(HostileConfigTest, StartUpAndEveryWindowWorkAndNothingElseIsRewritten) {
  const QString data = WriteAddressBook();
  ASSERT_NE(StartOrganizer({data}), nullptr);
  // The clean file: as the Options window and the profile editor save it themselves.
  ASSERT_NO_FATAL_FAILURE(WriteConfiguration(data));
  desktop.OnForm(QStringLiteral("frmOptions"), [](QDialog& d) { d.findChild<QPushButton*>("cmdOK")->click(); });
  form->mnuOptions_Click();
  desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog& d) { d.findChild<QPushButton*>("cmdOK")->click(); });
  form->cmdProfile_Click();
  const QByteArray clean = ReadBytes(Ini());
  ASSERT_TRUE(clean.contains("Skip Blank Fields=0") && clean.contains("Separator 11="));

  QByteArray mixed;
  int n = 0;
  for (const QByteArray& line : clean.chopped(1).split('\n')) mixed += line + (n++ % 2 ? "\n" : "\r\n");
  const QByteArray nul(1, '\0');
  QByteArray sections;
  for (int i = 0; i < 100000; ++i) sections += "[Junk " + QByteArray::number(i) + "]\nKey=" + QByteArray::number(i) + '\n';
  // Each file, and the line break that new lines take: the file's first.
  const std::tuple<const char*, QByteArray, QByteArray> files[] = {
      {"binary bytes", "; \x01\x02\xff\xfe\xc0\xa0\x7f\x1b\xf5\n[Junk \xff]\nK=\xfe\xfd\n" + clean + "\xc3\x28=\xe0\n", "\n"},
      {"NUL bytes", nul + nul + "\n[Junk]\nK=a" + nul + "b\n" + clean + "; " + nul + '\n', "\n"},
      {"10 MB line", "; " + QByteArray(10 * 1024 * 1024, 'x') + '\n' + clean, "\n"},
      {"100,000 sections", sections + clean, "\n"},
      {"no final newline", clean.chopped(1), "\n"},
      {"CRLF and LF mixed", mixed, "\r\n"},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + clean, "\n"},
  };
  for (const auto& [name, bytes, newline] : files) {
    SCOPED_TRACE(name);
    QProcess* word = StartWord({WriteLetter()});
    ASSERT_NE(word, nullptr);
    ASSERT_TRUE(PutBytes(Ini(), bytes));
    desktop = {};
    NewWindow();
    pv.WordApp = {};
    form->Form_Load(dir.path());
    EXPECT_EQ(pv.OrganizerFilePath + u'|' + pv.AddressSectionName, data + QStringLiteral("|Address"));
    ASSERT_EQ(form->cboAddressProfile->count(), 1);
    EXPECT_EQ(form->cboAddressProfile->itemText(0), QStringLiteral("Letters"));
    EXPECT_TRUE(form->cmdSearch->isEnabled());

    desktop.OnForm(QStringLiteral("frmOptions"), [&](QDialog& d) {
      EXPECT_EQ(d.findChild<QLineEdit*>("txtFilePath")->text(), data);
      d.findChild<QPushButton*>("cmdOK")->click();
    });
    form->mnuOptions_Click();
    desktop.OnForm(QStringLiteral("frmNewName"), [](QDialog& d) { d.findChild<QPushButton*>("cmdCancel")->click(); });
    desktop.OnForm(QStringLiteral("frmProfiles"), [](QDialog& d) {
      EXPECT_EQ(d.findChild<QLineEdit*>("txtBookmark_3")->text(), QStringLiteral("B3"));
      d.findChild<QPushButton*>("cmdNew")->click();
      d.findChild<QPushButton*>("cmdOK")->click();
    });
    form->cmdProfile_Click();
    form->mnuAbout_Click();
    EXPECT_EQ(Shown(desktop, false, true), QStringList({"frmOptions", "frmProfiles", "frmNewName", "frmDeveloper"}));

    form->optSurname->setChecked(true);
    form->cboAddressProfile->setCurrentIndex(0);
    form->txtSearchItem->setText(QStringLiteral("moss"));
    form->cmdSearch_Click();
    ASSERT_EQ(form->lstAddressee->count(), 1) << Shown(desktop, false, true).join(u'\n').toStdString();
    EXPECT_THROW(form->cmdFinished_Click(), ProgramEnded) << Shown(desktop, false, true).join(u'\n').toStdString();
    EXPECT_EQ(LetterText(), LetterWith({"Cy", "Moss", "Acme", "Hull"}, 4));
    EXPECT_EQ(Shown(desktop, false, true).size(), 4);

    const QByteArray written = "[Recent Settings]" + newline + "Search By=True" + newline + "Address Profile=Letters" + newline;
    EXPECT_EQ(ReadBytes(Ini()), bytes + (bytes.endsWith('\n') ? QByteArray() : newline) + written);
    EndCase(bytes, word);
  }
  ReportCases("PENLARK.INI hostile", static_cast<int>(std::size(files)),
              "binary bytes, NUL bytes, a 10 MB line, 100,000 sections, no final newline, CRLF "
              "and LF mixed, a byte-order mark: start-up, every window, a search and a transfer "
              "worked; only what the program wrote changed");
}

}  // namespace
