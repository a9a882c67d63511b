#include <gtest/gtest.h>

#include "main/main_form.h"

TEST(MainFormSmoke, CaptionAndSize) {
  TMainForm form;
  EXPECT_EQ(form.windowTitle().toStdString(), "Merge dialog strings");
  EXPECT_EQ(form.objectName().toStdString(), "MainForm");
}
