// The check of a dialog script: the places where the merge does something its author
// most likely did not mean and passes over it in silence (references that stay as they
// are, texts nobody uses, double quotes that shift every later text).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ScriptFinding {
  enum class File { Header, Code };
  File file = File::Code;
  size_t line = 0;  // from 1, counted in the text as a pane holds it
  std::string message;
};

struct ScriptCheck {
  size_t textCount = 0;  // the dialog texts the merge takes from the header
  // Header findings first, then code findings, each in line order.
  std::vector<ScriptFinding> findings;
};

// Checks the bytes of a code file and its header file as the merge would take them
// (line breaks made CR LF, cut at the first NUL). Finds:
//  - bytes after a NUL, which the merge never sees;
//  - a header with an odd number of double quotes;
//  - double quotes that a C reader sees outside the string literals that form the list
//    (in a comment, a character literal or a preprocessor line, or after a backslash
//    inside a literal), each of which shifts every later text;
//  - references whose index has no dialog text, in the code or inside a text that the
//    merge inserts;
//  - references the merge does not recognise: letter case, blanks, a leading zero;
//  - dialog texts that no reference uses.
ScriptCheck CheckDialogScript(std::string_view codeBytes, std::string_view headerBytes);
