#pragma once

#include "desktop/DesktopServices.h"

// The desktop drawn by Qt for a person at the screen.
class QtDesktopServices : public DesktopServices {
 public:
  // With PENLARK_REPORT_FOCUS set, every move of the keyboard focus is written to standard
  // output as "focus<TAB>window title<TAB>control", and each window that becomes active
  // first lists its controls as "place<TAB>window title<TAB>control<TAB>x y width height"
  // (inside the window), so tests on a real display can see where keys and clicks land.
  QtDesktopServices();

  // Buttons from the style's low bits (0 OK, 4 Yes/No), icon from 16/32/48/64, the
  // second button as default with 256. Each run of CR and LF characters in the text is
  // drawn as one line break. Returns 1, 6 or 7.
  int MsgBox(const QString& text, int style, const QString& title) override;
  void Beep() override;
  void SetMousePointer(int pointer) override;
  int MousePointer() const override { return pointer_; }
  std::optional<QString> ShowOpenDialog(const FileOpenSettings& settings) override;


  // The text a message box draws for a message: every run of CR and LF becomes one "\n".
  static QString DisplayText(const QString& text);
  // A "Desc (*.a)|*.a|..." filter in Qt's "Desc (*.a);;..." form.
  static QString QtFilter(const QString& filter);

 protected:
  void RunModal(QDialog& form) override;
  void Terminate() override;

 private:
  int pointer_ = 0;
};
