// Where the program's own files are: its configuration file, its user guide and its
// log. One answer for the build tree and an installed program alike: beside the
// executable first, then the XDG base directories, then the installation's own data
// folder. For /usr/bin/vaskarel with nothing beside it and HOME=/home/me:
//
//   configuration  /home/me/.config/vaskarel/vaskarel.ini, else
//                  <each of $XDG_CONFIG_DIRS>/vaskarel/vaskarel.ini (/etc/xdg), else
//                  /usr/share/vaskarel/vaskarel.ini (the installed defaults)
//   user guide     /usr/share/vaskarel/vaskarel.txt
//   default log    /home/me/.local/state/vaskarel/vaskarel.log
//
// The build tree keeps its ini and guide beside build/src/window/qt/vaskarel and its log
// there too. On Windows the program keeps its files beside it; only a log that cannot
// be written there goes to %LOCALAPPDATA%\vaskarel\vaskarel.log.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/environment.h"

namespace startup {

// The installation's data folder seen from the folder of the executable ("../share"
// for bin/ and share/ under one prefix).
extern const std::string_view kDataFromBin;

// The folders searched after the executable's own.
struct SearchFolders {
  // Searched in order for <name>/<name>.ini: $XDG_CONFIG_HOME, each of $XDG_CONFIG_DIRS.
  std::vector<std::string> config;
  // The installation's data folder, holding <name>/<name>.txt and the default ini.
  std::string data;
  // $XDG_STATE_HOME, for <name>/<name>.log; empty when neither it nor a home is known.
  std::string state;
};

// The search folders for an executable in exeDir, from the environment. Unset or
// empty variables take their defaults ($HOME/.config, /etc/xdg, $HOME/.local/state);
// relative values are ignored, as the XDG rules say.
SearchFolders XdgSearchFolders(platform::Environment& env, std::string_view exeDir,
                               std::string_view dataFromBin = kDataFromBin);

// On Windows: the configuration in the <name> folder of %APPDATA%, the log in that of
// %LOCALAPPDATA% (for a program under Program Files, whose folder the user cannot
// write), no data folder but the executable's own. Relative or unset variables are ignored.
SearchFolders WindowsSearchFolders(platform::Environment& env);

// The search folders of the system the program runs on.
SearchFolders HostSearchFolders(platform::Environment& env, std::string_view exeDir);

struct ProgramFiles {
  std::string programDir;  // the executable's folder, ending with "/"
  std::string folderName;  // the name of the program's folders ("vaskarel")
  std::string configFile;  // the one in use, as on disk; the one beside when none is found
  bool configFound = false;
  bool configBeside = false;  // found beside the executable
  std::string docFile;        // the one in use, as on disk; the one beside when none is found
  bool docFound = false;
  std::string besideLogFile;  // <programDir><name>.log
  std::string stateLogFile;   // <state>/<name>/<name>.log; empty without a state folder
};

// Looks for the program's files for the executable at exePath. Names beside the
// executable are matched ignoring letter case; every name is reported as on disk.
ProgramFiles FindProgramFiles(std::string_view exePath, const SearchFolders& folders);

// The log file when the configuration names none: beside the executable when a file
// can be appended to there (which creates it), else the one in the state folder.
std::string DefaultLogFile(const ProgramFiles& files);

}  // namespace startup
