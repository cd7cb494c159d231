#include "app/ProgramValues.h"
#include "app/frmPenlark.h"
#include "platform/QtDesktopServices.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Penlark"));
  QtDesktopServices desktop;
  ProgramValues pv(desktop);
  frmPenlark form(pv);
  form.Form_Load(QCoreApplication::applicationDirPath());
  return app.exec();
}
