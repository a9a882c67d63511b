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

#include "main/display_encoding.h"
#include "platform/encoding.h"

namespace qtui {

// The display rules every view shares (main/display_encoding.h).
using display::CodecOf;
using display::ForEachEncodingRun;
using display::ShowsAsUtf8;

// The characters of bytes in the codec's encoding, every CR LF made one LF (the
// document's block break). A byte-order mark is kept as a character.
QString ToDocumentChars(const platform::Codec& codec, std::string_view bytes);

// The bytes of document characters in the codec's encoding: every break the document
// can hold (its block breaks, Shift+Enter's line separator, a pasted CR, LF or CR LF)
// becomes CR LF, and a NUL is dropped, since a pane never holds one.
std::string FromDocumentChars(const platform::Codec& codec, QStringView chars);

}  // namespace qtui
