#include "Desktop.h"

#include "ChildProcesses.h"
#include "support/Shown.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace {

constexpr int kWaitMs = 10000;
constexpr int kPollMs = 50;
// Between keys, so each is handled before the next, as a person types.
constexpr int kKeyDelayMs = 40;

}  // namespace

Desktop::Desktop() {
  if (!runtime_.isValid()) {
    error_ = QStringLiteral("no temporary folder");
    return;
  }
  QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EndWithTest(server_);
  // -displayfd picks a free display and writes its number once the server takes clients.
  server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                         QStringLiteral("-screen"), QStringLiteral("0"),
                                         QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                         QStringLiteral("tcp")});
  if (!server_.waitForStarted(5000)) {
    error_ = QStringLiteral("Xvfb did not start (Debian package xvfb)");
    return;
  }
  QByteArray number;
  Eventually([&] {
    server_.waitForReadyRead(100);
    return (number += server_.readAllStandardOutput()).endsWith('\n') || server_.state() == QProcess::NotRunning;
  });
  if (!number.endsWith('\n')) {
    error_ = QStringLiteral("Xvfb gave no display: ") + QString::fromUtf8(server_.readAllStandardError());
    return;
  }
  display_ = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
}

Desktop::~Desktop() {
  if (bellListener_) XCloseDisplay(bellListener_);
  for (QProcess* process : {&windowManager_, &server_}) {
    if (process->state() == QProcess::NotRunning) continue;
    process->terminate();
    if (!process->waitForFinished(5000)) {
      process->kill();
      process->waitForFinished(1000);
    }
  }
}

QProcessEnvironment Desktop::On(QProcessEnvironment base) const {
  base.insert(QStringLiteral("DISPLAY"), display_);
  base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  base.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
  base.remove(QStringLiteral("WAYLAND_DISPLAY"));
  return base;
}

int Desktop::Xdo(const QStringList& arguments, QString* out) const {
  QProcess xdo;
  xdo.setProcessEnvironment(On(QProcessEnvironment::systemEnvironment()));
  xdo.start(QStringLiteral("xdotool"), arguments);
  if (!xdo.waitForFinished(kWaitMs)) {
    xdo.kill();
    xdo.waitForFinished(1000);
    return -1;
  }
  if (out) *out = QString::fromUtf8(xdo.readAllStandardOutput());
  return xdo.exitStatus() == QProcess::NormalExit ? xdo.exitCode() : -1;
}

bool Desktop::Eventually(const std::function<bool()>& ready, int ms) {
  for (QDeadlineTimer deadline(ms);; QThread::msleep(kPollMs)) {
    if (ready()) return true;
    if (deadline.hasExpired()) return false;
  }
}

QStringList Desktop::Shown(const QString& title) const {
  const QString pattern = u'^' + QRegularExpression::escape(title) + u'$';
  QString out;
  Xdo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern}, &out);
  return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString Desktop::WaitForWindow(const QString& title) const {
  QStringList shown;
  Eventually([&] { return !(shown = Shown(title)).isEmpty(); });
  return shown.value(0);
}

bool Desktop::WaitWindowGone(const QString& title) const {
  return Eventually([&] { return Shown(title).isEmpty(); });
}

QStringList Desktop::Titles() const {
  QString out;
  Xdo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), QStringLiteral("."),
       QStringLiteral("getwindowname"), QStringLiteral("%@")},
      &out);
  return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool Desktop::Focus(const QString& window) const {
  return Eventually([&] {
    Xdo({QStringLiteral("windowfocus"), window});
    QString focused;
    Xdo({QStringLiteral("getwindowfocus")}, &focused);
    return focused.trimmed() == window;
  });
}

QString Desktop::FocusedTitle() const {
  QString title;
  Xdo({QStringLiteral("getwindowfocus"), QStringLiteral("getwindowname")}, &title);
  return title.trimmed();
}

bool Desktop::Type(const QString& text) const {
  return Xdo({QStringLiteral("type"), QStringLiteral("--delay"), QString::number(kKeyDelayMs), text}) == 0;
}

bool Desktop::Keys(const QStringList& keys) const {
  return Xdo(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QString::number(kKeyDelayMs)} + keys) == 0;
}

bool Desktop::StartWindowManager() {
  // openbox runs its start-up command once it manages the screen.
  const QString ready = runtime_.filePath(QStringLiteral("openbox-ready"));
  windowManager_.setProcessEnvironment(On(QProcessEnvironment::systemEnvironment()));
  EndWithTest(windowManager_);
  windowManager_.start(QStringLiteral("openbox"),
                       {QStringLiteral("--startup"), QStringLiteral("touch ") + ready});
  if (!windowManager_.waitForStarted(5000)) {
    error_ = QStringLiteral("openbox did not start (Debian package openbox)");
    return false;
  }
  Eventually([&] { return QFile::exists(ready) || windowManager_.state() == QProcess::NotRunning; });
  if (QFile::exists(ready)) return true;
  error_ = QStringLiteral("openbox gave no sign: ") + QString::fromUtf8(windowManager_.readAllStandardError());
  return false;
}

bool Desktop::Mouse(const QString& window, int x, int y, int clicks) const {
  QStringList arguments{QStringLiteral("mousemove")};
  if (!window.isEmpty()) arguments << QStringLiteral("--window") << window;
  arguments << QString::number(x) << QString::number(y);
  if (clicks > 0)
    arguments << QStringLiteral("click") << QStringLiteral("--repeat") << QString::number(clicks)
              << QStringLiteral("--delay") << QStringLiteral("80") << QStringLiteral("1");
  return Xdo(arguments) == 0;
}

bool Desktop::Screenshot(const QString& path, const QString& window) const {
  // -silent: import rings the bell when done, which would count as a beep of the program.
  return RunToEnd(QStringLiteral("import"), {QStringLiteral("-silent"), QStringLiteral("-window"), window, path},
                  On(QProcessEnvironment::systemEnvironment())) == 0;
}

QByteArray Desktop::PointerImage() const {
  Display* x = XOpenDisplay(display_.toLatin1().constData());
  if (!x) return {};
  QByteArray image;
  if (XFixesCursorImage* cursor = XFixesGetCursorImage(x)) {
    image = QByteArray::number(cursor->width) + 'x' + QByteArray::number(cursor->height) + ':';
    const auto bytes = qsizetype(sizeof *cursor->pixels) * cursor->width * cursor->height;  // unsigned longs
    image.append(reinterpret_cast<const char*>(cursor->pixels), bytes);
    XFree(cursor);
  }
  XCloseDisplay(x);
  return image;
}

int Desktop::Bells() {
  if (!bellListener_) {
    int error = 0, major = XkbMajorVersion, minor = XkbMinorVersion, reason = 0;
    bellListener_ = XkbOpenDisplay(display_.toLatin1().data(), &xkbEventBase_, &error, &major, &minor, &reason);
    if (!bellListener_) return -1;
    XkbSelectEvents(bellListener_, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(bellListener_, False);
    return 0;
  }
  XSync(bellListener_, False);
  int bells = 0;
  while (XPending(bellListener_) > 0) {
    XEvent event;
    XNextEvent(bellListener_, &event);
    if (event.type == xkbEventBase_ && reinterpret_cast<XkbEvent&>(event).any.xkb_type == XkbBellNotify) ++bells;
  }
  return bells;
}
