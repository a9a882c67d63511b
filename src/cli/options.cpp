#include "cli/options.h"

#include <functional>
#include <map>

#include "platform/paths.h"

namespace {

const char* const kUsage =
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
                      in silence, one a line as FILE:LINE:COLUMN: SEVERITY:
                      MESSAGE [NAME] on standard output (the names are listed
                      below); with several header folders, also compare each
                      script's headers with the first folder's
      --only=NAME[,NAME...]
                      report findings of these names only (may be repeated);
                      untranslated is looked for only when named here
      --ignore=NAME[,NAME...]
                      report no findings of these names (may be repeated)
      --each          print every finding; by default one that holds for three
                      or more files of one header folder is printed once, with
                      their count, two of them and the remedy
      --format=text|sarif
                      findings as lines (default), or as one SARIF 2.1.0 log on
                      standard output
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
findings shown), 1 problems (findings of --check that are shown, dialog code files
without a header), 2 failures (a file that cannot be read or written, a folder that cannot be
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
  Only the shifted texts: vaskarel-merge --check --only=shifted-texts ...
)";

// The findings' names with their severity and sentence, the sentence wrapped at 80.
std::string FindingNames() {
  std::string out = "\nFindings (NAME, severity, what it means):\n";
  for (const FindingKindInfo& info : FindingKinds()) {
    out += "  " + std::string(info.name) + " (" + std::string(SeverityName(info.severity)) + ")\n";
    std::string line = "     ";
    size_t start = 0;
    const std::string_view text = info.description;
    while (start < text.size()) {
      size_t end = text.find(' ', start);
      if (end == std::string_view::npos) end = text.size();
      const std::string_view word = text.substr(start, end - start);
      if (line.size() + 1 + word.size() > 80) {
        out += line + "\n";
        line = "     ";
      }
      line += " " + std::string(word);
      start = end + 1;
    }
    out += line + "\n";
  }
  return out;
}

// The legacy code pages the tool converts from.
bool IsLegacyCodePage(int page) {
  return page == 874 || (page >= 1250 && page <= 1258);
}

// The kinds a list of names gives ("unused-text,tokens"), or an error naming the known
// ones.
std::optional<std::string> AddFindingNames(const std::string& option, const std::string& list,
                                           std::vector<FindingKind>& kinds) {
  size_t start = 0;
  do {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string name = list.substr(start, end - start);
    const std::optional<FindingKind> kind = FindingKindNamed(name);
    if (!kind) {
      std::string known;
      for (const FindingKindInfo& info : FindingKinds()) {
        known += (known.empty() ? "" : ", ") + std::string(info.name);
      }
      return option + ": unknown finding '" + name + "'; the findings are " + known;
    }
    kinds.push_back(*kind);
    start = end + 1;
  } while (start <= list.size());
  return std::nullopt;
}

}  // namespace

std::string MergeToolUsage() {
  return kUsage + FindingNames();
}

std::optional<std::string> ParseMergeArguments(const std::vector<std::string>& args,
                                               const std::string& cwd, MergeSettings& s) {
  using Setter = std::function<std::optional<std::string>(const std::string&)>;
  std::vector<FindingKind> only, ignored;
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
      {"--only", [&](const std::string& v) { return AddFindingNames("--only", v, only); }},
      {"--ignore", [&](const std::string& v) { return AddFindingNames("--ignore", v, ignored); }},
      {"--format",
       [&](const std::string& v) -> std::optional<std::string> {
         if (v == "text") {
           s.format = FindingFormat::Text;
         } else if (v == "sarif") {
           s.format = FindingFormat::Sarif;
         } else {
           return "--format takes text or sarif, not '" + v + "'";
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
    } else if (a == "--each") {
      s.each = true;
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
  if (!only.empty()) {
    s.findings = FindingKindSet();
    for (FindingKind kind : only) s.findings.Add(kind);
  }
  for (FindingKind kind : ignored) s.findings.Remove(kind);
  return std::nullopt;
}
