#include "word/WordTransfer.h"

#include "shared/AppMessages.h"
#include "shared/ProgramValues.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "organizer/FieldNames.h"
#include "organizer/OrganizerLink.h"
#include "organizer/OrganizerSearch.h"
#include "bus/DdeTextBox.h"
#include "contract/ErrorNumbers.h"
#include "runtime/RuntimeError.h"
#include "profiles/ProfileIndex.h"
#include "profiles/ProfileRows.h"

#include <QComboBox>

// Both transfers run one algorithm; a dialect only says how to reach a bookmark and how
// to put text into the document.
//
// DEVIATION: the profile rows, the option and the language are read whole; the old
// 32-character read buffer cut them to 31 characters, so a long bookmark or separator
// was silently used cut short.

namespace {

class WordDialect {
 public:
  virtual ~WordDialect() = default;
  // Read once per transfer, after the blank-field option and before the address book.
  virtual void ReadSettings(const QString& /*configFile*/) {}
  virtual void GoToBookmark(const QString& bookmark) = 0;
  virtual void Insert(const QString& text) = 0;
  // Whether error 5101 is this dialect's "the document has no such bookmark".
  virtual bool Raises5101() const = 0;
};

class Word8Dialect : public WordDialect {
 public:
  explicit Word8Dialect(const AutomationObject& word) : word_(word) {}

  void GoToBookmark(const QString& bookmark) override {
    word_.GetObject(QStringLiteral("Selection"))
        .Call(QStringLiteral("GoTo"), {},
              {{QStringLiteral("What"), QVariant::fromValue<qint32>(-1)},
               {QStringLiteral("Name"), bookmark}});
  }
  void Insert(const QString& text) override {
    word_.GetObject(QStringLiteral("Selection"))
        .Call(QStringLiteral("InsertAfter"), {}, {{QStringLiteral("Text"), text}});
  }
  bool Raises5101() const override { return true; }

 private:
  const AutomationObject& word_;
};

// DEVIATION: with the language "German" the old transfer issued no go-to at all, so every
// row landed wherever the insertion point happened to be; here German goes to each
// bookmark with BearbeitenGeheZu, the German name of EditGoTo.
class WordBasicDialect : public WordDialect {
 public:
  explicit WordBasicDialect(const AutomationObject& word) : word_(word) {}

  void ReadSettings(const QString& configFile) override {
    language_ = ReadConfigString(configFile, QStringLiteral("Language Settings"),
                                 QStringLiteral("Language"), QStringLiteral("English"));
  }
  void GoToBookmark(const QString& bookmark) override {
    if (language_ == QStringLiteral("English")) word_.Call(QStringLiteral("EditGoTo"), {bookmark});
    else if (language_ == QStringLiteral("German")) word_.Call(QStringLiteral("BearbeitenGeheZu"), {bookmark});
  }
  void Insert(const QString& text) override {
    if (language_ == QStringLiteral("English")) word_.Call(QStringLiteral("Insert"), {text});
    else if (language_ == QStringLiteral("German")) word_.Call(QStringLiteral("Einfügen"), {text});
  }
  bool Raises5101() const override { return false; }

 private:
  const AutomationObject& word_;
  QString language_;
};

void ReportTransferError(ProgramValues& pv, const RuntimeError& error, bool raises5101) {
  const QString title = QStringLiteral("Transfer Error");
  const int critical = MsgStyle::OkOnly + MsgStyle::Critical;
  switch (error.number()) {
    case ErrorNumber::AutomationError:
      pv.desktop.MsgBox(
          QStringLiteral("An error has occured while trying to communicate with Word For Windows.  Check:"
                         "\n\r\n\r1)  Word is running and a document is displayed\n\r"
                         "2)  Any Bookmarks within the active Address Profile are present in the document."),
          critical, title);
      return;
    case ErrorNumber::WordNoDocument:
      pv.desktop.MsgBox(QStringLiteral("Penlark cannot transfer address data to Word.\n\r\n\r"
                                       "Check there is an open document within Word"),
                        critical, title);
      return;
    case ErrorNumber::WordNoSuchBookmark:
      if (raises5101) {
        pv.desktop.MsgBox(QStringLiteral("A Bookmark that is present in the ") +
                              pv.main.cboAddressProfile->currentText() +
                              QStringLiteral(" Address Profile does not exist in the current document."),
                          critical, title);
        return;
      }
      break;
    default:
      break;
  }
  pv.desktop.MsgBox(error.description(), critical, QStringLiteral("Error ") + StrNumber(error.number()));
}

bool TransferRows(ProgramValues& pv, const QString& searchText, bool bySurname, int position,
                  WordDialect& word) {
  const QString& ini = pv.ConfigFilePath;
  const int slot = FindProfileIndex(ini, pv.main.cboAddressProfile->currentText());
  if (slot == kNoProfileSlot) {
    ShowAppError(pv.desktop, AppMessageNumber::NoProfileSelected);
    return false;
  }
  const bool skipBlankFields =
      ReadConfigInt(ini, ConfigKeys::Options, ConfigKeys::SkipBlankFields, 0) != 0;
  word.ReadSettings(ini);

  if (!FindMatchAgain(*pv.main.txtOrganizerPipe, searchText, bySurname, position)) {
    ShowAppError(pv.desktop, AppMessageNumber::AddressDataChanged);
    return false;
  }

  for (const ProfileRow& row : ReadProfileRows(ini, slot)) {
    QString rowText;
    if (!row.bookmark.isEmpty()) word.GoToBookmark(row.bookmark);
    if (!row.field.isEmpty()) {
      const QString item = MapOrganizerFieldName(row.field);
      if (item == kNoField) break;
      const QString reply = RequestItem(*pv.main.txtOrganizerPipe, item);
      if (reply.isEmpty() && skipBlankFields) continue;
      rowText = reply;
    }
    rowText += DecodeSeparator(row.separator);
    word.Insert(rowText);
  }
  return true;
}

bool Transfer(ProgramValues& pv, const QString& searchText, bool bySurname, int position,
              WordDialect& word) {
  // DEVIATION: a remembered search text with a double quote would end the command's
  // argument early and run the rest as command text; it is refused before anything is sent.
  if (!CheckCommandArgument(pv.desktop, searchText, QStringLiteral("search text"))) {
    pv.desktop.SetMousePointer(Pointer::Default);
    return false;
  }
  pv.desktop.SetMousePointer(Pointer::Hourglass);
  bool result = false;
  try {
    result = TransferRows(pv, searchText, bySurname, position, word);
  } catch (const RuntimeError& error) {
    pv.desktop.SetMousePointer(Pointer::Default);
    ReportTransferError(pv, error, word.Raises5101());
    ForgetLostLink(pv, error);
  }
  pv.desktop.SetMousePointer(Pointer::Default);
  return result;
}

}  // namespace

bool TransferWord8(ProgramValues& pv, const QString& searchText, bool bySurname, int position) {
  Word8Dialect word(pv.WordApp);
  return Transfer(pv, searchText, bySurname, position, word);
}

bool TransferWordBasic(ProgramValues& pv, const QString& searchText, bool bySurname, int position) {
  WordBasicDialect word(pv.WordApp);
  return Transfer(pv, searchText, bySurname, position, word);
}

QString DecodeSeparator(const QString& stored) {
  QString decoded;
  decoded.reserve(stored.size());
  for (const QChar c : stored) {
    if (c == kBlankMark) decoded += u' ';
    else if (c == kParagraphMark) decoded += u'\r';
    else if (c == kTabMark) decoded += u'\t';
    else decoded += c;
  }
  return decoded;
}
