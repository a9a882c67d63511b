// The sample dialog script of tests/data/sample as a window shows it after the user
// loads it, merges it and saves the merged text over the code file: the merged text,
// and the lines the log gains on the way, at the fixed clock of fake_platform.h.
#pragma once

#include <string>

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
