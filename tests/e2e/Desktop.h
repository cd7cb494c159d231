#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// A display of its own (Xvfb) and a person at its keyboard (xdotool), for running the real
// programs with real windows. Keys go to whichever window has the focus, as a person's do.
// Everything it started is stopped when it goes.
class Desktop {
 public:
  Desktop();  // starts the X server; ok() tells whether it worked, error() why not
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  bool ok() const { return !display_.isEmpty(); }
  const QString& error() const { return error_; }

  // base with this display and the xcb platform, so a Qt program shows real windows here.
  QProcessEnvironment On(QProcessEnvironment base) const;

  // The id of a shown window whose title is exactly title, waiting up to 10 s; "" if none.
  QString WaitForWindow(const QString& title) const;
  // Waits up to 10 s until no shown window has the title; false if one still does.
  bool WaitWindowGone(const QString& title) const;
  // The titles of the shown windows, for failure messages.
  QStringList Titles() const;

  // Gives the window the keyboard focus and waits until it has it.
  bool Focus(const QString& window) const;
  // The title of the window that has the focus.
  QString FocusedTitle() const;
  // Types text; presses keys in turn ("Return", "Down", "alt+m", "shift+Tab").
  bool Type(const QString& text) const;
  bool Keys(const QStringList& keys) const;
  // Asks every 50 ms until ready() holds, for up to ms; whether it came to hold.
  static bool Eventually(const std::function<bool()>& ready, int ms = 10000);

  // Starts openbox and waits until it manages windows: frames, focus of new windows.
  bool StartWindowManager();
  // Moves the mouse to (x, y) inside the window (on the screen for ""); clicks = 0 only
  // moves, 1 clicks, 2 double-clicks the left button there.
  bool Mouse(const QString& window, int x, int y, int clicks) const;
  // The screen (or one window) as the person sees it, saved to a PNG file (ImageMagick's
  // import).
  bool Screenshot(const QString& path, const QString& window = QStringLiteral("root")) const;
  // The pixels of the mouse pointer the X server shows now, with its size in front; empty
  // if it cannot be read.
  QByteArray PointerImage() const;
  // The beeps of the programs shown here (XKB bell events) since the last call; the first
  // call starts listening and returns 0.
  int Bells();

 private:
  // Runs xdotool with the arguments; its exit code, its standard output in *out.
  int Xdo(const QStringList& arguments, QString* out = nullptr) const;
  // The shown windows whose title is title.
  QStringList Shown(const QString& title) const;

  QProcess server_;
  QProcess windowManager_;
  struct _XDisplay* bellListener_ = nullptr;
  int xkbEventBase_ = 0;
  QTemporaryDir runtime_;  // XDG_RUNTIME_DIR of the programs shown here
  QString display_;
  QString error_;
};
