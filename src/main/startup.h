// The program paths: how the directory, the configuration, documentation and log
// files beside the executable and the log file's folder follow from the executable's
// path and from the configuration file. Pure text rules; FormCreate (startup.cpp)
// applies them, and program_files.h searches further when nothing is beside it.
//
//   DeriveProgramPaths("/opt/Tools/vaskarel")
//     programDir      "/opt/Tools/"
//     configFile      "/opt/Tools/vaskarel.ini"
//     docFile         "/opt/Tools/vaskarel.txt"
//     defaultLogFile  "/opt/Tools/vaskarel.log"
#pragma once

#include <string>
#include <string_view>

namespace startup {

// The path conventions of a host.
struct PathRules {
  // The characters that end a directory name; the first is the separator that
  // program directories end with.
  std::string_view delimiters;
  // Whether executables carry an extension that the program's own files replace
  // (Merge.EXE -> Merge.ini). Where they carry none, every dot of the name belongs to
  // the name and the file extension is appended (a.b -> a.b.ini).
  bool executableHasExtension;
};

// POSIX: "/" ends directory names; executables have no extension.
inline constexpr PathRules kPosixRules{"/", false};
// Windows: the backslash, the slash and the drive colon end names; "Merge.EXE" gives
// "Merge.ini".
inline constexpr PathRules kWindowsRules{"\\/:", true};
#ifdef _WIN32
inline constexpr PathRules kHostRules = kWindowsRules;
#else
inline constexpr PathRules kHostRules = kPosixRules;
#endif

// The part of a path after its last delimiter ("/a/b.c" -> "b.c").
std::string ExecutableName(std::string_view path, const PathRules& rules = kHostRules);

// The path up to and including its last delimiter; empty when it has none.
std::string DirectoryPart(std::string_view path, const PathRules& rules = kHostRules);

// When the last of "." and the delimiters in name is a ".", replaces everything from
// that "." on by ext; otherwise appends ext ("a.b.exe" -> "a.b.ini", "x.d/run" ->
// "x.d/run.ini").
std::string ChangeFileExt(std::string_view name, std::string_view ext,
                          const PathRules& rules = kHostRules);

// The name of one of the program's own files for the executable name exeName: ext
// in place of the executable's extension, or behind the name where executables
// have none.
std::string ProgramFileName(std::string_view exeName, std::string_view ext,
                            const PathRules& rules = kHostRules);

// The folder that must exist before the log file is written: the directory part
// without its final separator, except where that separator is a root of its own
// (the first character, or directly behind another delimiter): "/var/log/v.log" ->
// "/var/log", "/v.log" -> "/"; with the Windows rules "C:\v.log" -> "C:\".
std::string LogFolderOf(std::string_view logFile, const PathRules& rules = kHostRules);

// The log file for a "LogFile" value: an absolute value as it is, a bare name or a
// relative path taken from the program directory, so that every write goes to the
// same file whatever the current directory is. Empty stays empty.
std::string ResolveLogFile(std::string_view value, std::string_view programDir);

struct ProgramPaths {
  std::string programDir;      // directory of the executable, ending with the separator
  std::string configFile;      // <dir><name>.ini
  std::string docFile;         // <dir><name>.txt
  std::string defaultLogFile;  // <dir><name>.log
};

// The paths beside the executable at exePath, letter case as given.
ProgramPaths DeriveProgramPaths(std::string_view exePath, const PathRules& rules = kHostRules);

}  // namespace startup
