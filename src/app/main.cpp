#include "shared/ProgramValues.h"
#include "app/frmPenlark.h"
#include "desktop/QtDesktopServices.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Docks and task switchers find the desktop entry, and with it the icon and name, by
  // the desktop file name (the Wayland app id) and on X11 by the class of WM_CLASS, which
  // Qt takes from the application name.
  QApplication::setApplicationName(QStringLiteral("org.penlark.Penlark"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.penlark.Penlark"));
  QtDesktopServices desktop;
  ProgramValues pv(desktop);
  frmPenlark form(pv);
  form.Form_Load(QCoreApplication::applicationDirPath());
  // For the start-up benchmark: once the loaded window's first events have been handled,
  // say so on standard output and end as if the window were closed.
  if (qEnvironmentVariableIsSet("PENLARK_EXIT_WHEN_READY")) {
    QTimer::singleShot(0, &app, [] {
      std::fputs("penlark: ready\n", stdout);
      std::fflush(stdout);
      QCoreApplication::quit();
    });
  }
  return app.exec();
}
