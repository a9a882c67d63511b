#include "main/program_files.h"

#include <memory>
#include <optional>

#include "main/startup.h"
#include "platform/files.h"
#include "platform/paths.h"

#ifndef VASKAREL_DATA_FROM_BIN
#define VASKAREL_DATA_FROM_BIN "../share"
#endif

namespace startup {

const std::string_view kDataFromBin = VASKAREL_DATA_FROM_BIN;

namespace {

// folder/relative with "." and ".." resolved, so that logged paths read plainly. The
// executable's folder comes resolved from the system, so ".." there is its parent.
std::string Join(std::string_view folder, std::string_view relative) {
  if (folder.empty()) return std::string(relative);
  const std::string joined = platform::JoinPath(folder, relative);
  return platform::IsAbsolutePath(joined) ? platform::AbsolutePath(joined, "") : joined;
}

// The absolute value of a variable, or nullopt when it is unset, empty or relative.
std::optional<std::string> AbsoluteVariable(platform::Environment& env, const char* name) {
  std::optional<std::string> value = env.Get(name);
  if (value && platform::IsAbsolutePath(*value)) return value;
  return std::nullopt;
}

// A folder from a variable, or the default below the home folder.
std::string XdgFolder(platform::Environment& env, const char* name, std::string_view belowHome) {
  if (std::optional<std::string> value = AbsoluteVariable(env, name)) return *value;
  if (std::optional<std::string> home = AbsoluteVariable(env, "HOME")) {
    return Join(*home, belowHome);
  }
  return std::string();
}

// The file as it stands on disk, matching path ignoring letter case.
std::optional<std::string> FindFile(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::optional<std::string> found = platform::Files().FindIgnoringCase(path);
  if (found && platform::Files().FileExists(*found)) return found;
  return std::nullopt;
}

}  // namespace

SearchFolders XdgSearchFolders(platform::Environment& env, std::string_view exeDir,
                               std::string_view dataFromBin) {
  SearchFolders folders;
  if (std::string home = XdgFolder(env, "XDG_CONFIG_HOME", ".config"); !home.empty()) {
    folders.config.push_back(home);
  }
  std::string dirs = env.Get("XDG_CONFIG_DIRS").value_or("");
  if (dirs.empty()) dirs = "/etc/xdg";
  for (size_t start = 0; start <= dirs.size();) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (platform::IsAbsolutePath(dir)) folders.config.push_back(dir);
    start = end + 1;
  }
  folders.data = Join(exeDir, dataFromBin);
  folders.state = XdgFolder(env, "XDG_STATE_HOME", ".local/state");
  return folders;
}

SearchFolders WindowsSearchFolders(platform::Environment& env) {
  SearchFolders folders;
  if (std::optional<std::string> roaming = AbsoluteVariable(env, "APPDATA")) {
    folders.config.push_back(*roaming);
  }
  folders.state = AbsoluteVariable(env, "LOCALAPPDATA").value_or("");
  return folders;
}

SearchFolders HostSearchFolders(platform::Environment& env, std::string_view exeDir) {
#ifdef _WIN32
  (void)exeDir;
  return WindowsSearchFolders(env);
#else
  return XdgSearchFolders(env, exeDir);
#endif
}

ProgramFiles FindProgramFiles(std::string_view exePath, const SearchFolders& folders) {
  const ProgramPaths beside = DeriveProgramPaths(exePath);
  ProgramFiles files;
  files.programDir = beside.programDir;
  files.folderName = ProgramFileName(ExecutableName(exePath), "");
  const std::string own = files.folderName + "/";
  const std::string iniName = ExecutableName(beside.configFile);

  files.configFile = beside.configFile;
  std::vector<std::string> configs{beside.configFile};
  for (const std::string& folder : folders.config) configs.push_back(Join(folder, own + iniName));
  if (!folders.data.empty()) configs.push_back(Join(folders.data, own + iniName));
  for (const std::string& candidate : configs) {
    if (std::optional<std::string> found = FindFile(candidate)) {
      files.configFile = *found;
      files.configFound = true;
      files.configBeside = candidate == beside.configFile;
      break;
    }
  }

  files.docFile = beside.docFile;
  std::vector<std::string> docs{beside.docFile};
  if (!folders.data.empty()) {
    docs.push_back(Join(folders.data, own + ExecutableName(beside.docFile)));
  }
  for (const std::string& candidate : docs) {
    if (std::optional<std::string> found = FindFile(candidate)) {
      files.docFile = *found;
      files.docFound = true;
      break;
    }
  }

  files.besideLogFile = beside.defaultLogFile;
  if (!folders.state.empty()) {
    files.stateLogFile = Join(folders.state, own + ExecutableName(beside.defaultLogFile));
  }
  return files;
}

std::string DefaultLogFile(const ProgramFiles& files) {
  int err = 0;
  std::unique_ptr<platform::WritableFile> probe =
      platform::Files().OpenAppend(files.besideLogFile, err);
  if (probe || files.stateLogFile.empty()) return files.besideLogFile;
  return files.stateLogFile;
}

}  // namespace startup
