// The text toolkit over 10 MB texts, beside a plain memcpy of the same bytes, so the
// figures can be read as a fraction of the machine's memory bandwidth.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "_4str32/_4str32.h"

namespace {

constexpr std::size_t kTextSize = 10 * 1024 * 1024;

// A header file: one quoted dialog text per line.
const std::string& HeaderText() {
  static const std::string text = [] {
    std::string t;
    t.reserve(kTextSize + 128);
    for (int n = 0; t.size() < kTextSize; ++n) {
      t += "\t\"Text number " + std::to_string(n) + ", said the guard, and walked on.\",\r\n";
    }
    t.resize(kTextSize);
    return t;
  }();
  return text;
}

// A code file: every line refers to a dialog text; one in 50 refers to text 7.
const std::string& CodeText() {
  static const std::string text = [] {
    std::string t;
    t.reserve(kTextSize + 128);
    for (int n = 0; t.size() < kTextSize; ++n) {
      t += "\tLink.l" + std::to_string(n % 4) + " = DLG_TEXT[" + std::to_string(n % 50 + 7) +
           "];\r\n";
    }
    t.resize(kTextSize);
    return t;
  }();
  return text;
}

void BM_Memcpy10MB(benchmark::State& state) {
  const std::string& src = HeaderText();
  std::string dst(src.size(), '\0');
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size());
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * src.size()));
}
BENCHMARK(BM_Memcpy10MB)->Unit(benchmark::kMillisecond);

// As the merge uses it: a new tokenizer takes the text and cuts it at double quotes.
void BM_TokenizeHeaderAtQuotes(benchmark::State& state) {
  const std::string& text = HeaderText();
  for (auto _ : state) {
    TIncTok tok;
    tok.SetSourceString(text);
    tok.SetSeparatorString("\"");
    std::size_t tokens = 0;
    while (tok.NextToken()) ++tokens;
    benchmark::DoNotOptimize(tokens);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TokenizeHeaderAtQuotes)->Unit(benchmark::kMillisecond);

// Eight separators from TAB to "~": every letter goes through the binary search.
void BM_TokenizeHeaderAtEightSeparators(benchmark::State& state) {
  const std::string& text = HeaderText();
  for (auto _ : state) {
    TIncTok tok;
    tok.SetSourceString(text);
    tok.SetNPSepChars({npCR, npLF, npTAB});
    tok.SetSeparatorString("\",.|~");
    std::size_t tokens = 0;
    while (tok.NextToken()) ++tokens;
    benchmark::DoNotOptimize(tokens);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TokenizeHeaderAtEightSeparators)->Unit(benchmark::kMillisecond);

// One reference replaced throughout a code text, as the merge does for each text.
void BM_SubstituteAllInCode(benchmark::State& state) {
  const std::string& text = CodeText();
  std::size_t size = 0;
  for (auto _ : state) {
    std::string out = SubstituteAll(text, "DLG_TEXT[7]", "\"Text number 0, said the guard.\"");
    size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["out_bytes"] = static_cast<double>(size);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SubstituteAllInCode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
