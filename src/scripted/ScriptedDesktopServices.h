#pragma once

#include "desktop/DesktopServices.h"

#include <QString>

#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <vector>

// Thrown by the scripted EndProgram, so a test sees where the program would have ended.
struct ProgramEnded : std::exception {
  const char* what() const noexcept override { return "program ended"; }
};

// A desktop for tests: every message box is recorded with its exact title, text and
// style and answered from a queue; modal forms are shown (on whatever platform Qt runs,
// offscreen in tests) and driven by a script registered for their objectName.
class ScriptedDesktopServices : public DesktopServices {
 public:
  struct Box {
    QString title;
    QString text;
    int style = 0;
    int answer = 0;
    int pointer = 0;  // the mouse pointer while the box was shown
  };

  // Answers for the coming message boxes, in order. An OK box with no answer queued is
  // answered with OK; a Yes/No box with none throws std::logic_error, so an unexpected
  // question fails the test instead of being answered by chance.
  void Answer(int answer) { answers_.push_back(answer); }

  // What the next uses of the file-open dialog return (nothing: cancelled).
  void ChooseFile(std::optional<QString> file) { files_.push_back(std::move(file)); }

  // The script for the next showing of the form with this objectName. It runs while the
  // form is shown and typically presses one of its buttons. A form whose script leaves it
  // open, or that has no script, is closed with reject() (as a person closing it would).
  void OnForm(const QString& objectName, std::function<void(QDialog&)> script) {
    scripts_[objectName].push_back(std::move(script));
  }

  int MsgBox(const QString& text, int style, const QString& title) override;
  void Beep() override { ++beeps; }
  void SetMousePointer(int pointer) override;
  int MousePointer() const override { return pointer_; }
  std::optional<QString> ShowOpenDialog(const FileOpenSettings& settings) override;

  std::vector<Box> boxes;
  std::vector<FileOpenSettings> openDialogs;
  std::vector<QString> formsShown;  // objectNames, in the order shown
  std::vector<int> pointerChanges;
  int beeps = 0;
  bool ended = false;

 protected:
  void RunModal(QDialog& form) override;
  void Terminate() override;

 private:
  std::deque<int> answers_;
  std::deque<std::optional<QString>> files_;
  std::map<QString, std::deque<std::function<void(QDialog&)>>> scripts_;
  int pointer_ = 0;
};
