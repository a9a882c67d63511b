// Which header belongs to a code file, for the window and the command line alike.
//
// First beside the code file: its name with the extension replaced by ".h". Then in
// each header folder in turn; the first folder that holds a match wins. A header
// folder is absolute or taken from the code file's folder. In a header folder F the
// candidates are F/NAME.h, F/<last folder of the code file's folder>/NAME.h, F/<last
// two folders>/NAME.h and so on; the deepest that exists wins. Letter case is ignored
// in every component, and the path returned is the one on disk. Only regular files
// count as headers.
//
//   code    PROGRAM/DIALOGS/Alan Milds_dialog.c, folder "English"
//   header  PROGRAM/DIALOGS/ENGLISH/alan milds_dialog.h
//
//   code    Program/DIALOGS/russian/Fort/Marigo_Fort.c,
//           folder "/game/LANGUAGE/English/Program/Text/Dialogs"
//   header  /game/LANGUAGE/English/Program/Text/Dialogs/Fort/Marigo_Fort.h
//
// Folder listings are kept for the search's lifetime, so a run over a tree lists each
// folder once; a search for one command is made anew, so it sees the disk as it is.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/files.h"

class HeaderSearch {
 public:
  explicit HeaderSearch(std::vector<std::string> headerFolders = {});

  // The header of codeFile: beside it, else in the first header folder that holds one;
  // empty when there is none.
  std::string Find(const std::string& codeFile);
  // The header of codeFile in one header folder alone; empty when it holds none.
  std::string FindInFolder(const std::string& codeFile, const std::string& headerFolder);
  // Where Find looks, for messages: the code file's folder, then each header folder
  // as taken for that code file.
  std::vector<std::string> PlacesFor(const std::string& codeFile) const;
  const std::vector<std::string>& Folders() const { return folders_; }

 private:
  struct Listing {
    std::vector<platform::DirectoryEntry> entries;  // sorted by name
    std::unordered_map<std::string, std::vector<size_t>> byLowerName;
  };
  enum class Want { File, Directory };
  const Listing& ListingOf(const std::string& folder);
  // The entry of folder named `name` (exactly, else ignoring letter case) of the kind
  // wanted, as a path; nullopt when there is none.
  std::optional<std::string> Child(const std::string& folder, std::string_view name, Want want);
  // The folder at path as it stands on disk, letter case ignored.
  std::optional<std::string> ResolveFolder(const std::string& path);
  std::string FolderFor(const std::string& codeFile, const std::string& headerFolder) const;

  std::vector<std::string> folders_;
  std::map<std::string, Listing> listings_;
  std::map<std::string, std::optional<std::string>> resolved_;
  std::string cwd_;
};

// "NAME.h" for a code file: its last component with the extension replaced by ".h"
// (".h" appended when it has no dot).
std::string HeaderNameOf(const std::string& codeFile);

// Header folders from a text that lists them separated by ";", blanks around each
// dropped ("English; ../Text" -> "English", "../Text").
std::vector<std::string> SplitHeaderFolders(std::string_view list);

// The code file's name with the extension of its last component replaced by ".h"
// (".h" appended when that component has no dot).
std::string HeaderFileNameOf(const std::string& codeFile);
