#include "shared/ProgramValues.h"
#include "app/frmPenlark.h"
#include "desktop/QtDesktopServices.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Penlark"));
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
