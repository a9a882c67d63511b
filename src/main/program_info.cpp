#include "main/program_info.h"

#include "engine/version.h"

namespace {

constexpr char kWindowUsage[] =
    R"(Usage: vaskarel [FILE...]
       vaskarel --help | --version

Opens the window "Merge dialog strings", which merges dialog scripts: a code file
(dialog.c) that writes each dialog text as a reference DLG_TEXT[n], and its header
(dialog.h) that holds the texts as double-quoted literals. Both are loaded, merged
and saved; an existing file is first renamed to a time-stamped backup, and every
action is logged.

Each FILE is loaded once the window is open, as "Load code file" loads the file
chosen in its dialog, with the header found for it; a header (*.h) is loaded alone,
as "Load header file" does. Of several, the last code file and the last header
stay. Other arguments that begin with "-" are ignored; names after "--" are files.

  -h, --help     show this help and exit
      --version  show the version and exit

Files, looked for beside the program first:
  vaskarel.ini   the configuration; else $XDG_CONFIG_HOME/vaskarel/vaskarel.ini
                 (~/.config), else each $XDG_CONFIG_DIRS/vaskarel/vaskarel.ini
                 (/etc/xdg), else the installed default in share/vaskarel
  vaskarel.txt   the user guide shown on the page "Help"; else the installed one
                 in share/vaskarel
  vaskarel.log   the activity log, unless the configuration names another file;
                 beside the program only where it may write there, else
                 $XDG_STATE_HOME/vaskarel/vaskarel.log (~/.local/state)
With no configuration file anywhere, the log goes to standard output.

Dialog scripts are merged from the command line, and whole folders at once, by
vaskarel-merge (see vaskarel-merge --help).
)";

}  // namespace

std::optional<std::string> WindowCommandLineAnswer(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;  // file names follow
    if (arg == "-h" || arg == "--help") return kWindowUsage;
    if (arg == "--version") return std::string("vaskarel ") + ProgramVersion() + "\n";
  }
  return std::nullopt;
}

std::vector<std::string> WindowFileArguments(const std::vector<std::string>& args) {
  std::vector<std::string> files;
  bool options = true;
  for (const std::string& arg : args) {
    if (options && arg == "--") {
      options = false;
    } else if (!options || !arg.starts_with('-')) {
      files.push_back(arg);
    }
  }
  return files;
}

bool IsHeaderFileName(std::string_view name) {
  return name.size() > 2 && name[name.size() - 2] == '.' &&
         (name.back() == 'h' || name.back() == 'H');
}
