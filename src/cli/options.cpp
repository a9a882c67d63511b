#include "cli/options.h"

#include <functional>
#include <map>

#include "platform/paths.h"

const char* const kMergeToolUsage =
    R"(Usage: vaskarel-merge [OPTION]... CODE [HEADER] [-o OUT]
       vaskarel-merge [OPTION]... -o OUTDIR PATH...
       vaskarel-merge --check [OPTION]... PATH...

Merges dialog scripts: every reference DLG_TEXT[n] in a code file (and NAME[n],
when the header declares its array as "string NAME [N] = {") is replaced by
dialog text n, the n-th double-quoted literal of its header file (counted from
0), in double quotes. The result is byte for byte what the window's Merge files
and Save merged file give: line breaks become CR LF, and a file is read only up
to a NUL byte.

  CODE [HEADER]       merge one script; the header is found as below unless
                      HEADER is given
  -o, --output=OUT    write the result to OUT instead of standard output; an
                      existing OUT is first renamed to OUT.yyyy-mm-dd-hh-nn-ss
                      (with .1 ... .99 behind when that name is taken); when OUT
                      is a folder, the result is written into it under the name
                      of CODE
  PATH...             folders, searched recursively for code files (*.c, any
                      letter case), or code files; each result goes under
                      OUTDIR in the same relative layout (folders are created)
      --lang=NAME     also look for headers in the folder NAME beside each code
                      file (e.g. English)
      --headers=DIR   also look for headers in DIR (from the current folder, or
                      absolute), the root of a tree parallel to the code's
      --check         write nothing; report each problem the merge passes over
                      in silence as FILE:LINE: MESSAGE on standard output:
                      references without a dialog text, dialog texts no reference
                      uses, an odd number of double quotes, double quotes in
                      comments that shift later texts, references in lower case,
                      with blanks or a leading zero, a declared array size that
                      differs from the texts, merge-conflict markers, a code file
                      and header in different encodings; with several header
                      folders, headers whose text counts differ between languages
      --eol=crlf|lf|keep
                      line breaks of the result: CR LF as the window writes
                      (default), LF, or as they are in the files
      --encoding=keep|utf-8
                      keep the bytes as they are (default), or convert a file
                      that is not UTF-8 from its legacy code page before merging
      --codepage=N    that legacy code page (874, 1250 ... 1258); by default the
                      one the window shows such files in, from the locale
      --in-place      let a result replace its own code file (which is kept as
                      a backup); without it such a run is refused
  -q, --quiet         print no notes, progress or summary; errors and findings only
  -h, --help          show this help and exit
      --version       show the version and exit

Headers: the file of the code file's name with the extension .h beside it, else
in each --lang and --headers folder in the order given (the first folder with one
wins). In a header folder F the candidates are F/NAME.h, F/<last folder of the
code file's folder>/NAME.h, F/<last two folders>/NAME.h and so on; the deepest
one wins. Letter case is ignored everywhere. A code file that refers to dialog
texts (DLG_TEXT[ or a name beginning with DLG_TEXT) but has no header is a
problem; one without references is no dialog and is skipped.

A result is never half-written under its name: it is written beside it under a
new name and renamed into place once it is complete and on disk. A link as OUT is
followed; a device or FIFO (/dev/stdout) is written into as it is. Files are read
up to 256 MiB (a merge reads up to the first NUL byte); a larger one is refused.

Exit status: 0 every dialog code file was paired and merged (or checked with no
findings), 1 problems (findings of --check, dialog code files without a header),
2 failures (a file that cannot be read or written, a folder that cannot be
created, a wrong command line).

Examples:
  vaskarel-merge dialog.c -o merged/dialog.c
  vaskarel-merge dialog.c dialog.h > dialog.merged.c
  vaskarel-merge -o build/scripts scripts
  vaskarel-merge --check scripts

  Headers in a language folder beside the code (PROGRAM/DIALOGS/English/*.h):
  vaskarel-merge --lang English -o merged PROGRAM/DIALOGS

  Headers in a parallel text tree (LANGUAGE/English/Program/Text/Dialogs/Fort/
  Marigo_Fort.h for Program/DIALOGS/russian/Fort/Marigo_Fort.c):
  vaskarel-merge --headers LANGUAGE/English/Program/Text/Dialogs -o merged \
      Program/DIALOGS/russian

  Compare the languages: vaskarel-merge --check --lang English --lang French PROGRAM/DIALOGS
)";

namespace {

// The legacy code pages the tool converts from.
bool IsLegacyCodePage(int page) {
  return page == 874 || (page >= 1250 && page <= 1258);
}

}  // namespace

std::optional<std::string> ParseMergeArguments(const std::vector<std::string>& args,
                                               const std::string& cwd, MergeSettings& s) {
  using Setter = std::function<std::optional<std::string>(const std::string&)>;
  // Options that take a value, as --name=VALUE or --name VALUE (short forms: -oVALUE).
  const std::map<std::string, Setter> valued = {
      {"--output",
       [&](const std::string& v) -> std::optional<std::string> {
         if (s.output) return "-o given more than once";
         if (v.empty()) return "-o needs a file or folder name";
         s.output = v;
         return std::nullopt;
       }},
      {"--lang",
       [&](const std::string& v) -> std::optional<std::string> {
         if (v.empty()) return "--lang needs a folder name";
         s.headerFolders.push_back(v);
         return std::nullopt;
       }},
      {"--headers",
       [&](const std::string& v) -> std::optional<std::string> {
         if (v.empty()) return "--headers needs a folder";
         s.headerFolders.push_back(platform::AbsolutePath(v, cwd));
         return std::nullopt;
       }},
      {"--eol",
       [&](const std::string& v) -> std::optional<std::string> {
         if (v == "crlf") {
           s.lineBreaks = LineBreaks::CrLf;
         } else if (v == "lf") {
           s.lineBreaks = LineBreaks::Lf;
         } else if (v == "keep") {
           s.lineBreaks = LineBreaks::Keep;
         } else {
           return "--eol takes crlf, lf or keep, not '" + v + "'";
         }
         return std::nullopt;
       }},
      {"--encoding",
       [&](const std::string& v) -> std::optional<std::string> {
         if (v == "keep") {
           s.encoding = OutputEncoding::Keep;
         } else if (v == "utf-8" || v == "utf8" || v == "UTF-8") {
           s.encoding = OutputEncoding::Utf8;
         } else {
           return "--encoding takes keep or utf-8, not '" + v + "'";
         }
         return std::nullopt;
       }},
      {"--codepage",
       [&](const std::string& v) -> std::optional<std::string> {
         const bool digits =
             !v.empty() && v.size() < 6 && v.find_first_not_of("0123456789") == std::string::npos;
         if (!digits || !IsLegacyCodePage(std::stoi(v))) {
           return "--codepage takes 874 or 1250 ... 1258, not '" + v + "'";
         }
         s.codePage = std::stoi(v);
         return std::nullopt;
       }},
  };
  bool optionsEnd = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnd || a.size() < 2 || a[0] != '-') {
      s.operands.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnd = true;
    } else if (a == "-h" || a == "--help") {
      s.help = true;
    } else if (a == "--version") {
      s.version = true;
    } else if (a == "--check") {
      s.check = true;
    } else if (a == "--in-place") {
      s.inPlace = true;
    } else if (a == "-q" || a == "--quiet") {
      s.quiet = true;
    } else {
      // "-o" is "--output"; "-oVALUE" and "--name=VALUE" carry their value.
      std::string name = a, value;
      bool inlineValue = false;
      if (a.starts_with("-o") && !a.starts_with("--")) {
        name = "--output";
        inlineValue = a.size() > 2;
        value = a.substr(2);
      } else if (const size_t eq = a.find('='); eq != std::string::npos) {
        name = a.substr(0, eq);
        value = a.substr(eq + 1);
        inlineValue = true;
      }
      const auto option = valued.find(name);
      if (option == valued.end()) return "unknown option '" + a + "'";
      if (!inlineValue) {
        if (i + 1 == args.size()) {
          return "option " + a +
                 (name == "--output" ? " needs a file or folder name" : " needs a value");
        }
        value = args[++i];
      }
      if (auto error = option->second(value)) return error;
    }
  }
  return std::nullopt;
}
