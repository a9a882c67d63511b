// The sample dialog script of tests/data/sample as a window shows it after the user
// loads it, merges it and saves the merged text over the code file: the merged text,
// and the lines the log gains on the way, at the fixed clock of fake_platform.h.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"

inline const char kSampleMerged[] =
    "// The greeting at the town gate.\r\n"
    "void GateGreeting()\r\n"
    "{\r\n"
    "    Say(\"Welcome to Vaskarel, traveller.\");\r\n"
    "    if (Ask(\"Do you come in peace?\") == ANSWER_YES)\r\n"
    "        Say(\"Then the gate is open to you.\");\r\n"
    "    else\r\n"
    "        Say(\"Then turn back, and quickly.\");\r\n"
    "    Log(\"Welcome to Vaskarel, traveller.\");\r\n"
    "}\r\n";

inline std::string SampleRunLogLines(const std::string& codePath, const std::string& headerPath) {
  return " Load code file :\r\n    " + codePath +
         "\r\n Assume that corresponding header file is also to be loaded :\r\n    " + headerPath +
         "\r\n05.07.2023 09:03:07 Start merging files ...\r\n    " + codePath +
         "\r\n"
         "DLG_TEXT[0] \"Welcome to Vaskarel, traveller.\"\r\n"
         "DLG_TEXT[1] \"Do you come in peace?\"\r\n"
         "DLG_TEXT[2] \"Then the gate is open to you.\"\r\n"
         "DLG_TEXT[3] \"Then turn back, and quickly.\"\r\n"
         "05.07.2023 09:03:07 Merge files finished\r\n"
         " Save merged file :\r\n    " +
         codePath + "\r\n";
}

// What a window shows after Ctrl+S saved the merged sample over codePath, whose bytes
// were `code`: the save dialog proposed the code file with the save filter, the old
// file is the backup, no error box, and the log ends with the run's lines.
inline void ExpectSampleSaved(const FakeFileDialog& saveDialog, const FakeMessageBoxes& boxes,
                              const std::string& codePath, const std::string& headerPath,
                              const std::string& code, const std::string& log) {
  ASSERT_EQ(saveDialog.shown.size(), 1u);
  EXPECT_EQ(saveDialog.shown[0].fileName, codePath);  // proposed: the code file itself
  EXPECT_EQ(saveDialog.shown[0].defaultExt, "c");
  EXPECT_EQ(saveDialog.shown[0].filter, "code files (*.c)|*.c|all files (*.*)|*.*");
  EXPECT_EQ(ReadFile(codePath + ".2023-07-05-09-03-07"), code);
  EXPECT_EQ(ReadFile(codePath), kSampleMerged);
  EXPECT_TRUE(boxes.errors.empty());
  const std::string lines = SampleRunLogLines(codePath, headerPath);
  ASSERT_GE(log.size(), lines.size());
  EXPECT_EQ(log.substr(log.size() - lines.size()), lines);
}
