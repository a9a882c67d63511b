// The Qt view's document mapping: a pane text (CR LF breaks, no NUL) cut into its
// encoding runs and each run shown and read back gives back its bytes, in UTF-8, in
// every legacy code page, and however many byte-order marks lead it.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/line_breaks.h"
#include "fuzz/fuzz_input.h"
#include "window/qt/document_text.h"

namespace {

using platform::Codec;
using platform::TextEncoding;

bool ComesBack(const Codec& codec, std::string_view bytes) {
  return qtui::FromDocumentChars(codec, qtui::ToDocumentChars(codec, bytes)) == bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes =
      NormalizeLineBreaks(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string what = bytes.substr(0, 2000);
  if (qtui::ShowsAsUtf8(bytes)) {
    fuzz::Require(ComesBack(Codec::Utf8(), bytes), "UTF-8 comes back from the document", what);
  }
  for (int page : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    fuzz::Require(ComesBack(Codec::Legacy(page), bytes), "a code page comes back from the document",
                  "code page " + std::to_string(page) + "\n" + what);
  }

  // The runs: in order, whole lines, each in the encoding its lines show in, two
  // neighbours never in the same one, and each coming back through its own codec.
  std::string joined;
  bool first = true;
  TextEncoding previous = TextEncoding::Utf8;
  qtui::ForEachEncodingRun(bytes, [&](TextEncoding encoding, std::string_view run) {
    fuzz::Require(!run.empty(), "a run holds bytes", what);
    fuzz::Require(first || encoding != previous, "neighbouring runs differ", what);
    fuzz::Require(joined.empty() || joined.ends_with("\r\n"), "a run begins a line", what);
    fuzz::Require(encoding == TextEncoding::Legacy || qtui::ShowsAsUtf8(run),
                  "a UTF-8 run shows as UTF-8", what);
    const Codec& codec = encoding == TextEncoding::Utf8 ? Codec::Utf8() : Codec::Legacy(1252);
    fuzz::Require(ComesBack(codec, run), "a run comes back from the document", what);
    joined += run;
    first = false;
    previous = encoding;
  });
  fuzz::Require(joined == bytes, "the runs make up the text", what);
  return 0;
}
