#include "platform/QtDesktopServices.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace {

TEST(DesktopServicesTest, DisplayTextAndQtFilter) {
  const char* texts[][2] = {{"One.\n\r\n\rTwo.", "One.\nTwo."},
                            {"One.\r\nTwo.\rThree.\nFour.", "One.\nTwo.\nThree.\nFour."},
                            {"\r\nEnds\n\r", "\nEnds\n"}};
  for (auto [in, out] : texts) {
    SCOPED_TRACE(in);
    EXPECT_EQ(QtDesktopServices::DisplayText(QString::fromLatin1(in)), QString::fromLatin1(out));
  }
  const char* filters[][2] = {
      {"Organizer 2 Data Files (*.or2)|*.or2|Organizer 97 Data Files (*.or3)|*.or3",
       "Organizer 2 Data Files (*.or2);;Organizer 97 Data Files (*.or3)"},
      {"Data Files|*.or2;*.or3|All Files|*.*", "Data Files (*.or2 *.or3);;All Files (*.*)"},
      {"Letters|*.txt|Dangling", "Letters (*.txt)"}};
  for (auto [in, out] : filters) {
    SCOPED_TRACE(in);
    EXPECT_EQ(QtDesktopServices::QtFilter(QString::fromLatin1(in)), QString::fromLatin1(out));
  }
}

TEST(DesktopServicesTest, ActivationRunsWhenTheOutermostModalFormCloses) {
  ScriptedDesktopServices desktop;
  std::vector<int> seen;  // ModalDepth in each form and at each activation (-1 marks these)
  desktop.SetActivationHandler([&] { seen.insert(seen.end(), {-1, desktop.ModalDepth()}); });
  QDialog outer, inner, ending;
  outer.setObjectName(QStringLiteral("frmProfiles"));
  inner.setObjectName(QStringLiteral("frmNewName"));
  ending.setObjectName(QStringLiteral("frmOptions"));
  desktop.OnForm(QStringLiteral("frmProfiles"), [&](QDialog&) {
    seen.push_back(desktop.ModalDepth());
    desktop.ShowModal(inner);
  });
  desktop.OnForm(QStringLiteral("frmNewName"), [&](QDialog& form) {
    seen.push_back(desktop.ModalDepth());
    form.accept();
  });
  desktop.OnForm(QStringLiteral("frmOptions"), [&](QDialog&) { desktop.EndProgram(); });
  desktop.ShowModal(outer);
  desktop.ShowModal(inner);  // no script: closed as a person would
  EXPECT_EQ(inner.result(), QDialog::Rejected);
  EXPECT_THROW(desktop.ShowModal(ending), ProgramEnded);  // and no activation after it
  EXPECT_EQ(seen, (std::vector<int>{1, 2, -1, 0, -1, 0}));
  EXPECT_EQ(desktop.ModalDepth(), 0);
}

}  // namespace
