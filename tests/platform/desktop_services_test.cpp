#include "desktop/QtDesktopServices.h"
#include "scripted/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace {

TEST(DesktopServicesTest, DisplayTextAndQtFilter) {
  EXPECT_EQ(QtDesktopServices::DisplayText("One.\n\r\n\rTwo.|\r\nA\rB\nC\n\r"), "One.\nTwo.|\nA\nB\nC\n");
  EXPECT_EQ(QtDesktopServices::QtFilter("Organizer 2 Data Files (*.or2)|*.or2|All Files|*.or2;*.or3|Dangling"),
            "Organizer 2 Data Files (*.or2);;All Files (*.or2 *.or3)");
}

TEST(DesktopServicesTest, ActivationRunsWhenTheOutermostModalFormCloses) {
  ScriptedDesktopServices desktop;
  std::vector<int> seen;  // ModalDepth in each form and at each activation (-1 marks these)
  desktop.SetActivationHandler([&] { seen.insert(seen.end(), {-1, desktop.ModalDepth()}); });
  QDialog outer, inner, ending;
  outer.setObjectName(QStringLiteral("frmProfiles"));
  inner.setObjectName(QStringLiteral("frmNewName"));
  ending.setObjectName(QStringLiteral("frmOptions"));
  const auto depth = [&] { seen.push_back(desktop.ModalDepth()); };
  desktop.OnForm(QStringLiteral("frmProfiles"), [&](QDialog&) { depth(); desktop.ShowModal(inner); });
  desktop.OnForm(QStringLiteral("frmNewName"), [&](QDialog& form) { depth(); form.accept(); });
  desktop.OnForm(QStringLiteral("frmOptions"), [&](QDialog&) { desktop.EndProgram(); });
  desktop.ShowModal(outer);
  desktop.ShowModal(inner);  // no script: closed as a person would
  EXPECT_EQ(inner.result(), QDialog::Rejected);
  EXPECT_THROW(desktop.ShowModal(ending), ProgramEnded);  // and no activation after it
  EXPECT_EQ(seen, (std::vector<int>{1, 2, -1, 0, -1, 0}));
  EXPECT_EQ(desktop.ModalDepth(), 0);
}

}  // namespace
