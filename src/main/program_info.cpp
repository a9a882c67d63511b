#include "main/program_info.h"

#include "engine/version.h"

namespace {

constexpr char kWindowUsage[] =
    R"(Usage: vaskarel [--help | --version]

Opens the window "Merge dialog strings", which merges dialog scripts: a code file
(dialog.c) that writes each dialog text as a reference DLG_TEXT[n], and its header
(dialog.h) that holds the texts as double-quoted literals. Both are loaded, merged
and saved; an existing file is first renamed to a time-stamped backup, and every
action is logged. Other arguments are ignored.

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
    if (arg == "-h" || arg == "--help") return kWindowUsage;
    if (arg == "--version") return std::string("vaskarel ") + ProgramVersion() + "\n";
  }
  return std::nullopt;
}
