// How a pane's bytes become the characters of a Qt text document and back. The
// bytes have CR LF line breaks; the document has one block break per line. Each
// mapping is lossless: a text shown through ToDocumentChars and read back through
// FromDocumentChars in the same encoding gives back its bytes.
#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <string>
#include <string_view>

#include "platform/encoding.h"

namespace qtui {

// Whether bytes can be shown as UTF-8: valid UTF-8 that holds none of the characters
// a document turns into block breaks or swallows on loading (U+2028, U+2029, U+FDD0,
// U+FDD1). Anything else is shown in the legacy code page, where every byte is a
// character of its own.
bool ShowsAsUtf8(std::string_view bytes);

// The codec of an encoding: UTF-8, or the user's legacy code page.
const platform::Codec& CodecOf(platform::TextEncoding encoding);

// The characters of bytes in the codec's encoding, every CR LF made one LF (the
// document's block break). A byte-order mark is kept as a character.
QString ToDocumentChars(const platform::Codec& codec, std::string_view bytes);

// The bytes of document characters in the codec's encoding: every break the document
// can hold (its block breaks, Shift+Enter's line separator, a pasted CR, LF or CR LF)
// becomes CR LF, and a NUL is dropped, since a pane never holds one.
std::string FromDocumentChars(const platform::Codec& codec, QStringView chars);

// Cuts bytes (CR LF lines) into runs of whole lines that show in the same encoding,
// each line judged by ShowsAsUtf8 on its own, and calls run for each in order.
void ForEachEncodingRun(std::string_view bytes,
                        const std::function<void(platform::TextEncoding, std::string_view)>& run);

}  // namespace qtui
