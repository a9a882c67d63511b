// The one-pass merge against the plain replacement passes: text, length and counts,
// on a code text and a header (cut at the first byte 1), the header's declared name
// included. The header's texts against their plain cutting too.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/merge.h"
#include "engine/plain_merge.h"
#include "fuzz/fuzz_input.h"

namespace {

// The plain passes take time in texts times length: larger results are left to the
// one-pass merge's own tests.
constexpr size_t kPlainWork = size_t{8} << 20;

std::string Describe(const std::string& code, const std::string& header) {
  return "code: " + code.substr(0, 2000) + "\nheader: " + header.substr(0, 2000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 2);
  const std::string &code = parts[0], &header = parts[1];
  const std::vector<std::string> texts = DialogTexts(header);
  fuzz::Require(texts == plain::DialogTexts(header), "the header's texts", Describe(code, header));
  const std::string name = ReferenceNameOf(header);
  const DialogMerge merge(code, texts, name);
  if (merge.Length() > kPlainWork / (texts.size() + 1)) return 0;

  size_t replaced = 0;
  const std::string expected = plain::Merge(code, texts, name, replaced);
  const std::string what = Describe(code, header) + "\nname: " + name;
  fuzz::Require(merge.Build().View() == expected, "the merged text", what);
  fuzz::Require(merge.Length() == expected.size(), "the merged length", what);
  fuzz::Require(merge.Replaced() == replaced, "the references replaced", what);
  fuzz::Require(merge.Left() == plain::Left(expected, name), "the references left", what);
  return 0;
}
