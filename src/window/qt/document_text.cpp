#include "window/qt/document_text.h"

#include <cstring>

namespace qtui {
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

// Drops the CR of every CR LF, so each line break is one LF, in place.
void CrLfToLf(QString& chars) {
  QChar* const begin = chars.data();
  QChar* const end = begin + chars.size();
  QChar* out = begin;
  for (const QChar* in = begin; in != end; ++in) {
    if (*in == u'\r' && in + 1 != end && in[1] == u'\n') continue;
    *out++ = *in;
  }
  chars.truncate(out - begin);
}

bool IsBreak(QChar c) {
  return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
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

QString ToDocumentChars(const platform::Codec& codec, std::string_view bytes) {
  QString chars;
  if (codec.CodePage() == platform::Codec::Utf8().CodePage()) {
    // Valid UTF-8 has one decoding, which Qt's own converter finds fastest; it drops
    // a byte-order mark at the start, which is a character here. Every leading one is
    // put back, since with one taken off the converter would drop the next.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    qsizetype boms = 0;
    for (; bytes.starts_with(kBom); ++boms) bytes.remove_prefix(kBom.size());
    chars = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (boms > 0) chars.prepend(QString(boms, QChar(0xFEFF)));
  } else {
    // A legacy code page maps each byte to one character.
    std::string all(256, '\0');
    for (int b = 0; b < 256; ++b) all[static_cast<size_t>(b)] = static_cast<char>(b);
    const std::u16string table = codec.Decode(all);
    chars.resize(static_cast<qsizetype>(bytes.size()));
    QChar* out = chars.data();
    for (char byte : bytes) *out++ = QChar(table[static_cast<unsigned char>(byte)]);
  }
  CrLfToLf(chars);
  return chars;
}

std::string FromDocumentChars(const platform::Codec& codec, QStringView chars) {
  QString text;
  text.reserve(chars.size() + chars.size() / 16);
  const QChar* p = chars.data();
  const QChar* const end = p + chars.size();
  while (p < end) {
    const QChar* run = p;
    while (p < end && !IsBreak(*p) && *p != QChar::Null) ++p;
    text.append(run, p - run);
    if (p == end) break;
    if (*p != QChar::Null) text.append(u"\r\n");
    p += (*p == u'\r' && p + 1 < end && p[1] == u'\n') ? 2 : 1;
  }
  if (codec.CodePage() == platform::Codec::Utf8().CodePage()) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
  }
  return codec.Encode(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                          static_cast<size_t>(text.size())));
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

}  // namespace qtui
