#include "main/display_encoding.h"

#include <cstring>

namespace display {
namespace {

// U+2028 and U+2029 (E2 80 A8/A9), U+FDD0 and U+FDD1 (EF B7 90/91). Both lead bytes
// are rare in most texts, so each is looked for with memchr in a pass of its own.
bool HoldsDocumentControls(std::string_view bytes) {
  const struct {
    char lead, second, last1, last2;
  } kControls[] = {{'\xE2', '\x80', '\xA8', '\xA9'}, {'\xEF', '\xB7', '\x90', '\x91'}};
  const char* const end = bytes.data() + bytes.size();
  for (const auto& c : kControls) {
    for (const char* p = bytes.data(); end - p >= 3; ++p) {
      p = static_cast<const char*>(std::memchr(p, c.lead, static_cast<size_t>(end - p)));
      if (!p || end - p < 3) break;
      if (p[1] == c.second && (p[2] == c.last1 || p[2] == c.last2)) return true;
    }
  }
  return false;
}

}  // namespace

bool ShowsAsUtf8(std::string_view bytes) {
  return platform::IsValidUtf8(bytes) && !HoldsDocumentControls(bytes);
}

const platform::Codec& CodecOf(platform::TextEncoding encoding) {
  return encoding == platform::TextEncoding::Utf8
             ? platform::Codec::Utf8()
             : platform::Codec::Legacy(platform::UserLegacyCodePage());
}

void ForEachEncodingRun(std::string_view bytes,
                        const std::function<void(platform::TextEncoding, std::string_view)>& run) {
  // Valid UTF-8 stays valid when cut at CR LF, so a text that shows as UTF-8 as a whole
  // is one run; only a text that does not is looked at line by line.
  if (ShowsAsUtf8(bytes)) {
    if (!bytes.empty()) run(platform::TextEncoding::Utf8, bytes);
    return;
  }
  size_t runStart = 0;
  platform::TextEncoding runEncoding = platform::TextEncoding::Utf8;
  for (size_t lineStart = 0; lineStart < bytes.size();) {
    const size_t crlf = bytes.find("\r\n", lineStart);
    const size_t lineEnd = crlf == std::string_view::npos ? bytes.size() : crlf + 2;
    const platform::TextEncoding encoding =
        ShowsAsUtf8(bytes.substr(lineStart, lineEnd - lineStart)) ? platform::TextEncoding::Utf8
                                                                  : platform::TextEncoding::Legacy;
    if (encoding != runEncoding && lineStart > runStart) {
      run(runEncoding, bytes.substr(runStart, lineStart - runStart));
      runStart = lineStart;
    }
    runEncoding = encoding;
    lineStart = lineEnd;
  }
  run(runEncoding, bytes.substr(runStart));
}

}  // namespace display
