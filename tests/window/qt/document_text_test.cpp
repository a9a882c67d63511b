// The document mapping gives back the bytes it was given, however many byte-order
// marks lead a text or a line, and keeps each of them as a character.
#include "window/qt/document_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using platform::TextEncoding;
using qtui::CodecOf;

constexpr char kBom[] = "\xEF\xBB\xBF";

TEST(DocumentText, LeadingByteOrderMarksAreCharactersAndComeBack) {
  const struct {
    const char* what;
    std::string bytes;
    qsizetype chars;  // in the document
  } cases[] = {
      {"one", std::string(kBom) + "x", 2},
      {"two", std::string(kBom) + kBom + "x", 3},
      {"three and a line", std::string(kBom) + kBom + kBom + "a\r\nb", 6},
      {"two alone", std::string(kBom) + kBom, 2},
      {"one, then one on the next line", std::string(kBom) + "a\r\n" + kBom, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(qtui::ShowsAsUtf8(c.bytes));
    const QString chars = qtui::ToDocumentChars(CodecOf(TextEncoding::Utf8), c.bytes);
    EXPECT_EQ(chars.size(), c.chars);
    EXPECT_EQ(qtui::FromDocumentChars(CodecOf(TextEncoding::Utf8), chars), c.bytes);
  }
}

TEST(DocumentText, ARunThatBeginsWithTwoByteOrderMarksComesBack) {
  // A legacy line first, so the UTF-8 line after it is a run of its own.
  const std::string bytes = "\xE4\r\n" + std::string(kBom) + kBom + "x\r\n";
  std::vector<std::pair<TextEncoding, std::string>> runs;
  qtui::ForEachEncodingRun(
      bytes, [&](TextEncoding e, std::string_view run) { runs.emplace_back(e, std::string(run)); });
  ASSERT_EQ(runs.size(), 2u);
  std::string back;
  for (const auto& [encoding, run] : runs) {
    back +=
        qtui::FromDocumentChars(CodecOf(encoding), qtui::ToDocumentChars(CodecOf(encoding), run));
  }
  EXPECT_EQ(back, bytes);
}

}  // namespace
