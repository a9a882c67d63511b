#include "engine/header_search.h"

#include <algorithm>

#include "platform/encoding.h"
#include "platform/paths.h"

HeaderSearch::HeaderSearch(std::vector<std::string> headerFolders)
    : folders_(std::move(headerFolders)) {}

std::string HeaderNameOf(const std::string& codeFile) {
  return platform::BaseName(HeaderFileNameOf(codeFile));
}

std::vector<std::string> SplitHeaderFolders(std::string_view list) {
  std::vector<std::string> folders;
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t end = list.find(';', pos);
    if (end == std::string_view::npos) end = list.size();
    std::string_view folder = list.substr(pos, end - pos);
    while (!folder.empty() && (folder.front() == ' ' || folder.front() == '\t')) {
      folder.remove_prefix(1);
    }
    while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\t')) {
      folder.remove_suffix(1);
    }
    if (!folder.empty()) folders.emplace_back(folder);
    pos = end + 1;
  }
  return folders;
}

const HeaderSearch::Listing& HeaderSearch::ListingOf(const std::string& folder) {
  auto [it, fresh] = listings_.try_emplace(folder);
  Listing& listing = it->second;
  if (fresh && platform::Files().ListDirectory(folder, listing.entries) == 0) {
    for (size_t i = 0; i < listing.entries.size(); ++i) {
      listing.byLowerName[platform::LowerCaseAnsi(listing.entries[i].name)].push_back(i);
    }
  }
  return listing;
}

std::optional<std::string> HeaderSearch::Child(const std::string& folder, std::string_view name,
                                               Want want) {
  const Listing& listing = ListingOf(folder);
  auto fits = [&](const platform::DirectoryEntry& entry) {
    using Kind = platform::DirectoryEntry::Kind;
    if (want == Want::File) return entry.kind == Kind::File;
    // A link to a folder leads on too: nothing here walks down a whole tree.
    return entry.kind == Kind::Directory ||
           (entry.kind == Kind::Other &&
            platform::Files().DirectoryExists(platform::JoinPath(folder, entry.name)));
  };
  const auto exact = std::lower_bound(
      listing.entries.begin(), listing.entries.end(), name,
      [](const platform::DirectoryEntry& e, std::string_view n) { return e.name < n; });
  if (exact != listing.entries.end() && exact->name == name && fits(*exact)) {
    return platform::JoinPath(folder, exact->name);
  }
  const auto same = listing.byLowerName.find(platform::LowerCaseAnsi(name));
  if (same == listing.byLowerName.end()) return std::nullopt;
  for (size_t i : same->second) {
    if (fits(listing.entries[i])) return platform::JoinPath(folder, listing.entries[i].name);
  }
  return std::nullopt;
}

std::optional<std::string> HeaderSearch::ResolveFolder(const std::string& path) {
  auto [it, fresh] = resolved_.try_emplace(path);
  if (!fresh) return it->second;
  std::optional<std::string> found;
  if (platform::Files().DirectoryExists(path)) {
    found = path;
  } else {
    std::string folder = path.substr(0, platform::RootLength(path));
    found = folder;
    for (const std::string& part : platform::PathComponents(path)) {
      if (part == "." || part == "..") {
        folder = platform::JoinPath(folder, part);
      } else if (std::optional<std::string> next = Child(folder, part, Want::Directory)) {
        folder = *next;
      } else {
        found.reset();
        break;
      }
    }
    if (found) found = folder;
  }
  it->second = found;
  return found;
}

std::string HeaderSearch::FolderFor(const std::string& codeFile,
                                    const std::string& headerFolder) const {
  if (platform::IsAbsolutePath(headerFolder)) return headerFolder;
  return platform::JoinPath(platform::FolderOf(codeFile), headerFolder);
}

std::string HeaderSearch::Find(const std::string& codeFile) {
  if (auto beside = Child(platform::FolderOf(codeFile), HeaderNameOf(codeFile), Want::File)) {
    return *beside;
  }
  for (const std::string& folder : folders_) {
    std::string header = FindInFolder(codeFile, folder);
    if (!header.empty()) return header;
  }
  return {};
}

std::string HeaderSearch::FindInFolder(const std::string& codeFile,
                                       const std::string& headerFolder) {
  const std::optional<std::string> root = ResolveFolder(FolderFor(codeFile, headerFolder));
  if (!root) return {};
  if (cwd_.empty()) cwd_ = platform::Files().CurrentDirectory();
  const std::vector<std::string> codeFolders =
      platform::PathComponents(platform::AbsolutePath(platform::FolderOf(codeFile), cwd_));
  const std::string name = HeaderNameOf(codeFile);
  // The deepest candidate first: the code file's last `depth` folders below the root.
  for (size_t depth = codeFolders.size() + 1; depth-- > 0;) {
    std::optional<std::string> folder = *root;
    for (size_t i = codeFolders.size() - depth; folder && i < codeFolders.size(); ++i) {
      folder = Child(*folder, codeFolders[i], Want::Directory);
    }
    if (!folder) continue;
    if (std::optional<std::string> header = Child(*folder, name, Want::File)) return *header;
  }
  return {};
}

std::vector<std::string> HeaderSearch::PlacesFor(const std::string& codeFile) const {
  const std::string beside = platform::FolderOf(codeFile);
  std::vector<std::string> places{beside.empty() ? "." : beside};
  for (const std::string& folder : folders_) places.push_back(FolderFor(codeFile, folder));
  return places;
}

std::string HeaderFileNameOf(const std::string& codeFile) {
  const size_t start = codeFile.size() - platform::BaseName(codeFile).size();
  const size_t dot = codeFile.rfind('.');
  if (dot == std::string::npos || dot < start) return codeFile + ".h";
  return codeFile.substr(0, dot) + ".h";
}
