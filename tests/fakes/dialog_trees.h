// Dialog trees laid out as games of the engine ship them, built in a folder for tests:
//
//  kLanguageFolders: PROGRAM/DIALOGS/NAME.c with the headers in PROGRAM/DIALOGS/English/
//    (and French/); a few code files with references and no header, a few helpers
//    without references; names differ in letter case here and there (NAME.C, name.h).
//  kTextTree: Program/DIALOGS/russian/<sub>/NAME.c with each header in a parallel tree
//    LANGUAGE/English/Program/Text/Dialogs/<sub>/NAME.h, declaring its own array name
//    (string DLG_TEXT_FT [3] = {) that the code uses.
#pragma once

#include <string>
#include <vector>

#include "fakes/temp_dir.h"

struct DialogTree {
  std::vector<std::string> pairs;    // code files with a header (relative to the root)
  std::vector<std::string> orphans;  // code files with references and no header
  std::vector<std::string> helpers;  // code files without references and no header
};

enum class TreeLayout { kLanguageFolders, kTextTree };

inline DialogTree BuildDialogTree(const std::string& root, TreeLayout layout, size_t pairs,
                                  size_t orphans, size_t helpers) {
  DialogTree tree;
  // Array names of the kind the later game declares; one in five headers keeps DLG_TEXT.
  static const char* const kNames[] = {"DLG_TEXT_FT",  "DLG_TEXT_BASE", "DLG_TEXT_Q",
                                       "DLG_TEXT_STR", "DLG_TEXT_F",    "DLG_TEXT"};
  static const char* const kSubs[] = {"Fort", "Tavern", "Quest/Main", "Shipyard", "Church"};
  for (size_t i = 0; i < pairs + orphans + helpers; ++i) {
    const bool paired = i < pairs, helper = i >= pairs + orphans;
    std::string name = "Npc " + std::to_string(i) + "_dialog";
    std::string code, header, codePath, headerPath;
    const std::string array = layout == TreeLayout::kTextTree ? kNames[i % 6] : "DLG_TEXT";
    const size_t count = 2 + i % 4;
    header = "string " + array + " [" + std::to_string(count) + "] = {\n";
    for (size_t n = 0; n < count; ++n) {
      // Backslashes are ordinary characters; one text spans two lines.
      header += "\"Text " + std::to_string(n) + " of " + name +
                (n == 1   ? " \\ path\\"
                 : n == 2 ? ",\nand more"
                          : "") +
                "\",\n";
    }
    header += "};\n";
    if (layout == TreeLayout::kLanguageFolders) {
      codePath = "PROGRAM/DIALOGS/" + (i % 7 == 3 ? name + ".C" : name + ".c");
      headerPath = "PROGRAM/DIALOGS/English/" +
                   (i % 5 == 2 ? "npc " + std::to_string(i) + "_DIALOG.h" : name + ".h");
    } else {
      const std::string sub = kSubs[i % 5];
      codePath = "Program/DIALOGS/russian/" + sub + "/" + name + ".c";
      headerPath = "LANGUAGE/English/Program/Text/Dialogs/" + sub + "/" + name + ".h";
      code = "#include \"TEXT\\DIALOGS\\" + sub + "\\" + name + ".h\"\r\n";
    }
    if (helper) {
      code += "void Helper" + std::to_string(i) + "()\r\n{\r\n  int slots[4];\r\n}\r\n";
    } else {
      code += "void ProcessDialogEvent()\r\n{\r\n";
      for (size_t n = 0; n < count; ++n) {
        code += "  Link.l" + std::to_string(n) + " = " + array + "[" + std::to_string(n) + "];\r\n";
      }
      code += "}\r\n";
    }
    WriteFile(root + "/" + codePath, code);
    if (paired) WriteFile(root + "/" + headerPath, header);
    (paired ? tree.pairs : helper ? tree.helpers : tree.orphans).push_back(codePath);
  }
  return tree;
}
