#include "platform/QtDesktopServices.h"
#include "platform/ScriptedDesktopServices.h"

#include <gtest/gtest.h>

#include <QDialog>

#include <vector>

namespace {

TEST(DesktopServicesTest, DisplayTextDrawsEachRunOfBreaksAsOneLine) {
  struct Row {
    QString text;
    QString shown;
  } rows[] = {
      {QStringLiteral("One.\n\r\n\rTwo."), QStringLiteral("One.\nTwo.")},
      {QStringLiteral("One.\r\n\r\nTwo."), QStringLiteral("One.\nTwo.")},
      {QStringLiteral("One.\r\nTwo.\rThree.\nFour."), QStringLiteral("One.\nTwo.\nThree.\nFour.")},
      {QStringLiteral("\r\nLeading and trailing\n\r"), QStringLiteral("\nLeading and trailing\n")},
      {QStringLiteral("No break\tat all"), QStringLiteral("No break\tat all")},
      {QString(), QString()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text.toStdString());
    EXPECT_EQ(QtDesktopServices::DisplayText(row.text), row.shown);
  }
}

TEST(DesktopServicesTest, QtFilterListsEachEntryOnce) {
  struct Row {
    QString filter;
    QString qt;
  } rows[] = {
      {QStringLiteral("Organizer 2 Data Files (*.or2)|*.or2|Organizer 97 Data Files (*.or3)|*.or3"),
       QStringLiteral("Organizer 2 Data Files (*.or2);;Organizer 97 Data Files (*.or3)")},
      {QStringLiteral("Data Files|*.or2;*.or3|All Files|*.*"),
       QStringLiteral("Data Files (*.or2 *.or3);;All Files (*.*)")},
      {QStringLiteral("Text (*.txt)|*.doc"), QStringLiteral("Text (*.txt) (*.doc)")},
      {QStringLiteral("Letters|*.txt|Dangling"), QStringLiteral("Letters (*.txt)")},
      {QString(), QString()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.filter.toStdString());
    EXPECT_EQ(QtDesktopServices::QtFilter(row.filter), row.qt);
  }
}

TEST(DesktopServicesTest, ActivationRunsWhenTheOutermostModalFormCloses) {
  ScriptedDesktopServices desktop;
  std::vector<int> activations;  // ModalDepth at each activation
  desktop.SetActivationHandler([&] { activations.push_back(desktop.ModalDepth()); });
  QDialog outer;
  outer.setObjectName(QStringLiteral("frmProfiles"));
  QDialog inner;
  inner.setObjectName(QStringLiteral("frmNewName"));
  int depthInOuter = -1;
  int depthInInner = -1;
  size_t activationsAfterInner = 99;
  desktop.OnForm(QStringLiteral("frmProfiles"), [&](QDialog&) {
    depthInOuter = desktop.ModalDepth();
    desktop.ShowModal(inner);
    activationsAfterInner = activations.size();
  });
  desktop.OnForm(QStringLiteral("frmNewName"), [&](QDialog& form) {
    depthInInner = desktop.ModalDepth();
    form.accept();
  });

  desktop.ShowModal(outer);

  EXPECT_EQ(depthInOuter, 1);
  EXPECT_EQ(depthInInner, 2);
  EXPECT_EQ(activationsAfterInner, 0u);
  EXPECT_EQ(activations, std::vector<int>{0});
  EXPECT_EQ(desktop.ModalDepth(), 0);
  EXPECT_EQ(desktop.formsShown,
            (std::vector<QString>{QStringLiteral("frmProfiles"), QStringLiteral("frmNewName")}));
  EXPECT_FALSE(outer.isVisible());

  desktop.ShowModal(inner);  // no script: closed as a person would
  EXPECT_EQ(activations, (std::vector<int>{0, 0}));
  EXPECT_EQ(inner.result(), QDialog::Rejected);
}

TEST(DesktopServicesTest, EndingTheProgramInAModalFormRunsNoActivation) {
  ScriptedDesktopServices desktop;
  int activations = 0;
  desktop.SetActivationHandler([&] { ++activations; });
  QDialog form;
  form.setObjectName(QStringLiteral("frmOptions"));
  desktop.OnForm(QStringLiteral("frmOptions"), [&](QDialog&) { desktop.EndProgram(); });
  EXPECT_THROW(desktop.ShowModal(form), ProgramEnded);
  EXPECT_TRUE(desktop.ended);
  EXPECT_EQ(desktop.ModalDepth(), 0);
  EXPECT_EQ(activations, 0);
}

}  // namespace
