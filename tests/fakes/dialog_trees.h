// Dialog trees laid out as games of the engine ship them, built in a folder for tests:
//
//  kLanguageFolders: PROGRAM/DIALOGS/NAME.c with the headers in PROGRAM/DIALOGS/English/
//    (and French/); a few code files with references and no header, a few helpers
//    without references; names differ in letter case here and there (NAME.C, name.h).
//  kTextTree: Program/DIALOGS/russian/<sub>/NAME.c with each header in a parallel tree
//    LANGUAGE/English/Program/Text/Dialogs/<sub>/NAME.h, declaring its own array name
//    (string DLG_TEXT_FT [3] = {) that the code uses.
#pragma once

#include <algorithm>
#include <cstdint>
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

// A tree of scripts in three languages, as the later game ships it: kTextTree puts the
// code in Program/DIALOGS/russian/<sub>/ with Russian comments in UTF-8 and each
// language's headers in LANGUAGE/<language>/Program/Text/Dialogs/<sub>/; kLanguageFolders
// puts them in PROGRAM/DIALOGS/<language>/ beside code with comments in Windows-1251.
// The first language is English (ASCII), the others are in Windows-1252. Every text
// keeps the run-time token #sgender# in text 0. Nothing is wrong but the faults asked
// for, by script number.
struct TranslatedTreeFaults {
  // Scripts whose second language's text 1 holds a quoted word ("citato"), which makes
  // it two texts and shifts every later one. Give scripts of 5 or more texts (i % 4 >= 2).
  std::vector<size_t> innerQuotes;
  size_t lostToken = SIZE_MAX;     // the third language's text 0 without its token
  size_t brokenUtf8 = SIZE_MAX;    // a code file with a broken UTF-8 sequence
  size_t untranslated = SIZE_MAX;  // the third language's text 1 as the first has it
};

struct TranslatedTree {
  std::vector<std::string> codes;                 // relative to the root
  std::vector<std::vector<std::string>> headers;  // per language, per script
  std::vector<std::string> headerFolders;         // per language: --headers DIR or --lang NAME
};

inline TranslatedTree BuildTranslatedTree(const std::string& root, TreeLayout layout, size_t pairs,
                                          const TranslatedTreeFaults& faults = {}) {
  const std::vector<std::string> languages = {"English", "Italian", "French"};
  // Per language: the word for "text", for "of", and a word beyond ASCII.
  const char* const kWords[][3] = {
      {"Text", "of", "now"}, {"Testo", "di", "cos\xEC"}, {"Texte", "de", "d\xE9j\xE0"}};
  static const char* const kNames[] = {"DLG_TEXT_FT",  "DLG_TEXT_BASE", "DLG_TEXT_Q",
                                       "DLG_TEXT_STR", "DLG_TEXT_F",    "DLG_TEXT"};
  static const char* const kSubs[] = {"Fort", "Tavern", "Quest/Main", "Shipyard", "Church"};
  TranslatedTree tree;
  tree.headers.resize(languages.size());
  for (const std::string& language : languages) {
    tree.headerFolders.push_back(layout == TreeLayout::kTextTree
                                     ? root + "/LANGUAGE/" + language + "/Program/Text/Dialogs"
                                     : language);
  }
  for (size_t i = 0; i < pairs; ++i) {
    const std::string name = "Npc " + std::to_string(i) + "_dialog";
    const std::string sub = kSubs[i % 5];
    const std::string array = layout == TreeLayout::kTextTree ? kNames[i % 6] : "DLG_TEXT";
    const size_t count = 3 + i % 4;
    std::string code;
    if (layout == TreeLayout::kTextTree) {
      code = "// \xD0\x94\xD0\xB8\xD0\xB0\xD0\xBB\xD0\xBE\xD0\xB3 " + name +
             (i == faults.brokenUtf8 ? " \xD0" : "") + "\r\n#include \"TEXT\\DIALOGS\\" + sub +
             "\\" + name + ".h\"\r\n";
    } else {
      code = "// \xC4\xE8\xE0\xEB\xEE\xE3 " + name + "\r\n";
    }
    code += "void ProcessDialogEvent()\r\n{\r\n";
    for (size_t n = 0; n < count; ++n) {
      code += "  Link.l" + std::to_string(n) + " = " + array + "[" + std::to_string(n) + "];\r\n";
    }
    code += "}\r\n";
    const std::string codePath = layout == TreeLayout::kTextTree
                                     ? "Program/DIALOGS/russian/" + sub + "/" + name + ".c"
                                     : "PROGRAM/DIALOGS/" + name + ".c";
    WriteFile(root + "/" + codePath, code);
    tree.codes.push_back(codePath);
    for (size_t l = 0; l < languages.size(); ++l) {
      const char* const* w = kWords[l];
      std::string header = "string " + array + " [" + std::to_string(count) + "] = {\n";
      for (size_t n = 0; n < count; ++n) {
        std::string text = std::string(w[0]) + " " + std::to_string(n) + " " + w[1] + " " + name;
        if (n == 0) {
          text += l == 2 && i == faults.lostToken ? ", sir." : ", #sgender#.";
        } else if (n == 1) {
          if (l == 1 && std::find(faults.innerQuotes.begin(), faults.innerQuotes.end(), i) !=
                            faults.innerQuotes.end()) {
            text += " \"citato\"";
          }
          text += " " + std::string(w[2]) + " \\ path\\";
          if (l == 2 && i == faults.untranslated) {
            text = std::string(kWords[0][0]) + " 1 " + kWords[0][1] + " " + name + " " +
                   kWords[0][2] + " \\ path\\";
          }
        } else if (n == 2) {
          text += ",\nand " + std::string(w[2]);
        }
        header += "\"" + text + "\",\n";
      }
      header += "};\n";
      const std::string headerPath =
          layout == TreeLayout::kTextTree
              ? "LANGUAGE/" + languages[l] + "/Program/Text/Dialogs/" + sub + "/" + name + ".h"
              : "PROGRAM/DIALOGS/" + languages[l] + "/" + name + ".h";
      WriteFile(root + "/" + headerPath, header);
      tree.headers[l].push_back(headerPath);
    }
  }
  return tree;
}
