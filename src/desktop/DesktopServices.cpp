#include "desktop/DesktopServices.h"

#include <cstdlib>

void DesktopServices::EndProgram() {
  Terminate();
  std::abort();  // an implementation that returned would run the caller's next handler
}

void DesktopServices::ShowModal(QDialog& form) {
  ++modalDepth_;
  try {
    RunModal(form);
  } catch (...) {
    --modalDepth_;
    throw;
  }
  --modalDepth_;
  if (modalDepth_ == 0 && activation_) activation_();
}
