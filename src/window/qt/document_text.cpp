#include "window/qt/document_text.h"

namespace qtui {
namespace {

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

}  // namespace qtui
