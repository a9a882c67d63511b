// The text conversions below the window: each code page to Unicode and back, UTF-8 to
// Unicode and back, the line-break rule of the panes, and the INI reader on the input
// as a file. The input is a text, a section name and a key, cut at the first bytes 1.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/line_breaks.h"
#include "fakes/fake_files.h"
#include "fuzz/fuzz_input.h"
#include "platform/encoding.h"
#include "platform/ini.h"

namespace {

// A file system whose every file holds the fuzzer's text.
class OneTextFiles : public FaultyFileSystem {
 public:
  std::string text;
  int ReadWholeFile(const std::string&, std::string& out) override {
    out = text;
    return 0;
  }
};

void CodePages(const std::string& bytes) {
  for (int page : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    const platform::Codec& codec = platform::Codec::Legacy(page);
    const std::u16string chars = codec.Decode(bytes);
    fuzz::Require(chars.size() == bytes.size(), "one character per byte",
                  "code page " + std::to_string(page));
    fuzz::Require(codec.Encode(chars) == bytes, "a code page's bytes come back",
                  "code page " + std::to_string(page));
  }
  if (platform::IsValidUtf8(bytes)) {
    const platform::Codec& utf8 = platform::Codec::Utf8();
    fuzz::Require(utf8.Encode(utf8.Decode(bytes)) == bytes, "UTF-8 comes back");
  }
}

void LineBreaks(const std::string& bytes) {
  const std::string normal = NormalizeLineBreaks(bytes);
  fuzz::Require(IsNormalPaneText(normal), "a normalised text is normal");
  fuzz::Require(NormalizeLineBreaks(normal) == normal, "normalising twice changes nothing");
  fuzz::Require(IsNormalPaneText(bytes) == (normal == bytes), "a normal text is left as it is");
  fuzz::Require(CutAtNul(bytes).find('\0') == std::string_view::npos, "nothing from the NUL on");
}

void Ini(const std::string& text, const std::string& section, const std::string& key) {
  OneTextFiles files;
  files.text = text;
  platform::ScopedFileSystem scope(files);
  for (uint32_t size : {1u, 2u, 7u, 2048u}) {
    std::vector<char> buffer(size, 'x');
    const uint32_t n = platform::ReadProfileString(section.c_str(), key.c_str(), "default",
                                                   buffer.data(), size, "fuzz.ini");
    fuzz::Require(n < size && buffer[n] == '\0' && std::strlen(buffer.data()) == n,
                  "a value fits its buffer, NUL-terminated");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 3);
  CodePages(parts[0]);
  LineBreaks(parts[0]);
  Ini(parts[0], parts[1], parts[2]);
  return 0;
}
