#include "cli/script_text.h"

#include "engine/line_breaks.h"
#include "platform/encoding.h"

std::string InputText(std::string bytes, const TextForm& form) {
  bytes.resize(CutAtNul(bytes).size());
  if (form.encoding == OutputEncoding::Utf8 && !platform::IsValidUtf8(bytes)) {
    bytes = platform::Codec::Utf8().Encode(platform::Codec::Legacy(form.codePage).Decode(bytes));
  }
  if (form.lineBreaks == LineBreaks::Keep || IsNormalPaneText(bytes)) return bytes;
  return NormalizeLineBreaks(bytes);
}

std::string WithLfBreaks(std::string_view merged) {
  std::string out;
  out.reserve(merged.size());
  size_t pos = 0;
  for (size_t cr = merged.find("\r\n"); cr != std::string_view::npos;
       cr = merged.find("\r\n", pos)) {
    out.append(merged.substr(pos, cr - pos)).append(1, '\n');
    pos = cr + 2;
  }
  return out.append(merged.substr(pos));
}
