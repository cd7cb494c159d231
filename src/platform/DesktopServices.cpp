#include "platform/DesktopServices.h"

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
