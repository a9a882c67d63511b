// The start-up sequence of the main window and the program-path rules it uses.
#include "main/startup.h"

#include "_4str32/_4str32.h"
#include "engine/header_search.h"
#include "main/main_core.h"
#include "main/program_files.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/paths.h"

namespace startup {

std::string ExecutableName(std::string_view path, const PathRules& rules) {
  size_t last = path.find_last_of(rules.delimiters);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string DirectoryPart(std::string_view path, const PathRules& rules) {
  size_t last = path.find_last_of(rules.delimiters);
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string ChangeFileExt(std::string_view name, std::string_view ext, const PathRules& rules) {
  std::string stops = "." + std::string(rules.delimiters);
  size_t last = name.find_last_of(stops);
  std::string result(name);
  if (last != std::string_view::npos && name[last] == '.') result.erase(last);
  return result + std::string(ext);
}

std::string ProgramFileName(std::string_view exeName, std::string_view ext,
                            const PathRules& rules) {
  if (rules.executableHasExtension) return ChangeFileExt(exeName, ext, rules);
  return std::string(exeName) + std::string(ext);
}

std::string LogFolderOf(std::string_view logFile, const PathRules& rules) {
  std::string dir = DirectoryPart(logFile, rules);
  const std::string_view delimiters = rules.delimiters;
  // The folder ends with a separator (a slash too on Windows), not with a drive colon.
  if (dir.empty() || dir.back() == ':' || delimiters.find(dir.back()) == std::string_view::npos) {
    return dir;
  }
  // A separator that stands first or behind another delimiter is a root: it stays.
  if (dir.size() == 1 || delimiters.find(dir[dir.size() - 2]) != std::string_view::npos) {
    return dir;
  }
  dir.pop_back();
  return dir;
}

std::string ResolveLogFile(std::string_view value, std::string_view programDir) {
  if (value.empty() || platform::IsAbsolutePath(value)) return std::string(value);
  return std::string(programDir) + std::string(value);
}

ProgramPaths DeriveProgramPaths(std::string_view exePath, const PathRules& rules) {
  ProgramPaths paths;
  paths.programDir = NormalizePath(DirectoryPart(exePath, rules), rules.delimiters.substr(0, 1));
  const std::string name = ExecutableName(exePath, rules);
  paths.configFile = paths.programDir + ProgramFileName(name, ".ini", rules);
  paths.docFile = paths.programDir + ProgramFileName(name, ".txt", rules);
  paths.defaultLogFile = paths.programDir + ProgramFileName(name, ".log", rules);
  return paths;
}

}  // namespace startup

namespace {

using platform::Files;

// Creates the folder of the log file with its missing parents, each with mode.
void MakeLogFolder(const std::string& logFile, unsigned mode) {
  const std::string folder = startup::LogFolderOf(logFile);
  if (Files().DirectoryExists(folder)) return;
  if (const int err = Files().ForceDirectories(folder, mode); err != 0) {
    throw Exception("Unable to create directory", folder + ": " + platform::ErrnoMessage(err));
  }
}

// Step 7: the configuration file exists.
void ReadConfiguration(TMainCore& core, const startup::ProgramFiles& files) {
  core.Log(" Read primary configuration file: ");
  core.Log("    " + core.configFile);

  std::string secondary = platform::ReadIniString(core.configFile, "Start", "ConfigFile");
  std::string logValue = platform::ReadIniString(core.configFile, "Start", "LogFile");
  core.headerFolders =
      SplitHeaderFolders(platform::ReadIniString(core.configFile, "Start", "HeaderFolders"));

  // A relative value is taken from the configuration file's folder, which is the
  // program directory when the file stands beside the executable.
  core.logFile = logValue.empty()
                     ? startup::DefaultLogFile(files)
                     : startup::ResolveLogFile(logValue, startup::DirectoryPart(core.configFile));
  // The state folder and the folders above it that are missing are the user's alone,
  // as the XDG rules ask of every folder a program creates there.
  MakeLogFolder(core.logFile, core.logFile == files.stateLogFile ? platform::kPrivateFolderMode
                                                                 : platform::kSharedFolderMode);
  core.Log(" Log file is : ");
  core.Log("    " + core.logFile);

  if (!secondary.empty()) {
    // A relative name is looked up from the directory the program was started in,
    // which is still the current directory here.
    if (Files().FileExists(secondary)) {
      core.programDir = NormalizePath(startup::DirectoryPart(secondary),
                                      startup::kHostRules.delimiters.substr(0, 1));
      core.configFile = secondary;
      core.Log(" Secondary configuration file is defined :");
      core.Log("    " + core.configFile);
    } else {
      core.Log(" Error: Secondary configuration file not found :");
      core.Log("    " + secondary);
    }
  }

  // An empty or vanished program directory is no reason to stop.
  (void)Files().SetCurrentDirectory(core.programDir);

  core.Log(" Read documentation file :");
  core.Log("    " + core.docFile);
  if (files.docFound) {
    core.m4Doku.LoadText(core.docFile);
  } else {
    core.Log("       Warning: documentation file not found");
  }
  core.Log(" Initialisation finished");
  core.Log("");
}

void RunStartUpSequence(TMainCore& core, const std::string& exePath) {
  const MainServices& services = core.Services();
  core.startDir = Files().CurrentDirectory();
  core.initialised = false;
  if (services.showPage) services.showPage(0);
  core.configChanged = false;

  const startup::ProgramFiles files = startup::FindProgramFiles(
      exePath, startup::HostSearchFolders(platform::Env(), startup::DirectoryPart(exePath)));
  // An installed program, whose configuration stands elsewhere than beside it, works
  // from the folder it was started in: its file dialogs open there, not in bin/.
  core.programDir =
      files.configFound && !files.configBeside
          ? NormalizePath(Files().CurrentDirectory(), std::string(1, platform::PathDelimiter()))
          : files.programDir;
  core.configFile = files.configFile;
  core.docFile = files.docFile;
  core.logFile.clear();

  core.OpenDialog().SetInitialDir(core.programDir);
  core.SaveDialog().SetInitialDir(core.programDir);

  core.m4Log.ClearText();
  core.Log(platform::DateTimePrefix(core.Clock().Now(), core.Formats()) + " Vaskarel started");

  if (files.configFound) {
    ReadConfiguration(core, files);
  } else {
    core.Log(" Error: Configuration file " + core.configFile + " not found!");
  }

  if (services.installAppHint) services.installAppHint();
  // The start-up block: every line so far in one piece. An empty log file name is the
  // standard output.
  AppendTextToFile(core.logFile, core.m4Log.GetWholeText());
  core.m4Log.SetOnChange([&core] { core.OnLogChange(); });
  core.initialised = true;
}

}  // namespace

void TMainCore::FormCreate(const std::string& exePath) {
  // Error boxes carry the title from the first step on.
  applicationTitle = ApplicationTitleFor(startup::ExecutableName(exePath));
  RunCommand([&] { RunStartUpSequence(*this, exePath); });
}
