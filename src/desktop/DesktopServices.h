#pragma once

#include <QString>

#include <functional>
#include <optional>

class QDialog;

// Message-box style values: buttons + icon + default button, summed.
namespace MsgStyle {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
}  // namespace MsgStyle

// Message-box answers.
namespace MsgAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace MsgAnswer

// Application-wide mouse pointer values.
namespace Pointer {
constexpr int Default = 0;
constexpr int Hourglass = 11;
}  // namespace Pointer

// File-open dialog flags.
namespace FileOpenFlag {
constexpr int HideReadOnly = 0x4;    // no read-only box
constexpr int ShareAware = 0x4000;   // a name in use by another program is returned too
}  // namespace FileOpenFlag

// The settings of one use of the file-open dialog.
struct FileOpenSettings {
  QString title;
  QString filter;      // "Description (*.a)|*.a|Other (*.b)|*.b"
  QString defaultExt;  // without the dot, added when the user types a name without one
  int flags = 0;       // FileOpenFlag values, summed
};

// The desktop the program talks to for everything a person sees and answers: message
// boxes, the beep, the mouse pointer, the file-open dialog, modal forms and the end of
// the program. The Qt implementation draws them; the scripted one answers from a script
// and records what was shown, so window tests run without a person.
class DesktopServices {
 public:
  virtual ~DesktopServices() = default;

  // A modal message box. The text keeps its exact control characters; style is the sum
  // of a MsgStyle button set, icon and default button. Returns a MsgAnswer.
  virtual int MsgBox(const QString& text, int style, const QString& title) = 0;

  virtual void Beep() = 0;

  virtual void SetMousePointer(int pointer) = 0;
  virtual int MousePointer() const = 0;

  // The file-open dialog: the chosen file's full name, or nothing when the user cancelled
  // or the dialog failed.
  virtual std::optional<QString> ShowOpenDialog(const FileOpenSettings& settings) = 0;

  // Shows the form modally and returns when it has closed. When the last open modal form
  // closes, the activation handler runs, as the main window becomes active again.
  void ShowModal(QDialog& form);
  void SetActivationHandler(std::function<void()> handler) { activation_ = std::move(handler); }

  // Ends the program at once: no further handler runs and nothing more is written.
  [[noreturn]] void EndProgram();

 protected:
  virtual void RunModal(QDialog& form) = 0;
  // Must not return: it ends the process or throws.
  virtual void Terminate() = 0;

 private:
  int modalDepth_ = 0;
  std::function<void()> activation_;
};
