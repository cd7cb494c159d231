#include "shared/frmError1.h"
#include "platform/Screenshot.h"

#include <QLabel>
#include <QPushButton>

namespace {

TEST(frmError1Test, FixedTextsAndOkTakesTheFocusAndCloses) {
  frmError1 form;
  EXPECT_TRUE(form.Label1->font().bold());
  EXPECT_EQ(QStringList({form.windowTitle(), form.Label1->text(), form.Label2->text(), form.Label3->text(),
                         form.Label4->text(), form.cmdOK->text()}).join(u'|').toStdString(),
            "Penlark Error|Penlark is unable to access the selected Organizer data file.|Check:|"
            "The path to your Organizer data file is correctly entered in the File Path field of the Options "
            "screen|Organizer is running with the data file entered in the File Path of the Options screen "
            "loaded.|&OK");
  Screenshot(form);
  EXPECT_EQ(form.focusWidget(), form.cmdOK);
  form.cmdOK->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

}  // namespace
