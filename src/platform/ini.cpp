// The program's own INI reader. The file is read whole through Files() and scanned line by line:
//
//   [Section]          a section header; blanks inside the brackets are dropped
//   Key = value        blanks around the key and the value are dropped, and a value
//                      wrapped in one matching pair of "..." or '...' loses them
//   ; text             a comment (the first non-blank character is ";")
//
// Lines end at LF, CR LF or CR. Lines of any other form are skipped. Names are compared
// ignoring letter case; only the first section of a name is searched, and in it the
// first line with the key wins, as the Windows profile API does. A UTF-8 byte order
// mark at the start of the file is skipped. A value ends at a NUL byte, as it would in
// the caller's buffer.
#include "platform/ini.h"

#include <cstring>
#include <optional>
#include <string_view>

#include "platform/encoding.h"
#include "platform/files.h"

namespace platform {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() == b.size()) {
    bool same = true;
    for (size_t i = 0; same && i < a.size(); ++i) {
      unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
      same = x == y || (x < 0x80 && y < 0x80 && (x | 0x20) == (y | 0x20) && (x | 0x20) >= 'a' &&
                        (x | 0x20) <= 'z');
    }
    if (same) return true;
  }
  // Letters beyond ASCII, as the user's locale lower-cases them.
  auto nonAscii = [](std::string_view s) {
    for (char c : s) {
      if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
  };
  return (nonAscii(a) || nonAscii(b)) && LowerCaseAnsi(a) == LowerCaseAnsi(b);
}

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  section = Trim(section);
  key = Trim(key);
  bool sectionSeen = false;  // the first section of the name has begun
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (inSection) return std::nullopt;  // the section ended without the key
      size_t close = line.find(']');
      std::string_view name = Trim(
          line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      inSection = !sectionSeen && SameName(name, section);
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    if (!inSection) continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos || !SameName(Trim(line.substr(0, eq)), key)) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    size_t nul = value.find('\0');
    if (nul != std::string_view::npos) value = value.substr(0, nul);
    return std::string(value);
  }
  return std::nullopt;
}

}  // namespace

uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, uint32_t size, const char* fileName) {
  if (!buffer || size == 0) return 0;
  std::optional<std::string> value;
  if (section && key && fileName && *fileName) {
    std::string text;
    if (Files().ReadWholeFile(fileName, text) == 0) value = FindValue(text, section, key);
  }
  std::string_view result =
      value ? std::string_view(*value) : std::string_view(defaultValue ? defaultValue : "");
  size_t n = std::min<size_t>(result.size(), size - 1);
  std::memcpy(buffer, result.data(), n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

std::string ReadIniString(const std::string& fileName, const std::string& section,
                          const std::string& key, ProfileStringReader reader) {
  char buffer[2048];
  uint32_t n = reader(section.c_str(), key.c_str(), "", buffer, sizeof buffer, fileName.c_str());
  return std::string(buffer, n);
}

}  // namespace platform
