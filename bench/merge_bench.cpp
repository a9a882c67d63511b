// The merge of generated scripts, beside what bounds it from below and what it
// replaces: (a) 100,000 texts over 50 MB of code against a copy of the result into
// freshly allocated memory; (b) 10,000 texts over 5 MB of code against one
// replacement pass per text with reused buffers. Page faults are counted on every side
// (minor faults per iteration), since touching fresh memory is a large part of the cost.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/merge.h"
#include "script_generator.h"

namespace {

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

struct Prepared {
  std::string code;
  std::vector<std::string> texts;
  std::string merged;
  Prepared(size_t texts, size_t codeBytes) {
    GeneratedScript s = GenerateScript(texts, codeBytes);
    code = std::move(s.code);
    this->texts = DialogTexts(s.header);
    merged = MergeTexts(code, this->texts);
  }
};

const Prepared& Large() {
  static const Prepared p(100000, 50'000'000);
  return p;
}
const Prepared& Medium() {
  static const Prepared p(10000, 5'000'000);
  return p;
}

void Report(benchmark::State& state, const Prepared& p, long faults) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * p.merged.size()));
  state.counters["faults"] =
      benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
  state.counters["result_MB"] = static_cast<double>(p.merged.size()) / 1e6;
}

// What the merge command does once it has the texts: the length check, then the build.
void Merge(benchmark::State& state, const Prepared& p) {
  long faults = 0;
  for (auto _ : state) {
    const long before = MinorFaults();
    std::optional<MergedText> merged = MergeTextsWithin(p.code, p.texts, p.merged.size());
    benchmark::DoNotOptimize(merged->View().data());
    faults += MinorFaults() - before;
  }
  Report(state, p, faults);
}

// The floor: the finished result copied into memory allocated for it.
void CopyResult(benchmark::State& state, const Prepared& p) {
  long faults = 0;
  for (auto _ : state) {
    const long before = MinorFaults();
    std::string copy(p.merged);
    benchmark::DoNotOptimize(copy.data());
    faults += MinorFaults() - before;
  }
  Report(state, p, faults);
}

void BM_Merge100kTexts50MB(benchmark::State& state) {
  Merge(state, Large());
}
void BM_CopyResult100kTexts50MB(benchmark::State& state) {
  CopyResult(state, Large());
}
void BM_Merge10kTexts5MB(benchmark::State& state) {
  Merge(state, Medium());
}

// One replacement pass per text, in ascending order, each over the whole text: the
// definition of the merge, done the plain way. Each pass writes into a buffer kept
// from the pass before, so no pass pays for fresh memory.
void BM_SequentialPasses10kTexts5MB(benchmark::State& state) {
  const Prepared& p = Medium();
  long faults = 0;
  std::string code, next;
  for (auto _ : state) {
    const long before = MinorFaults();
    code = p.code;
    for (size_t n = 0; n < p.texts.size(); ++n) {
      const std::string pattern = DialogTextReference(n);
      const std::string replacement = "\"" + p.texts[n] + "\"";
      next.clear();
      size_t from = 0;
      for (size_t hit; (hit = code.find(pattern, from)) != std::string::npos;
           from = hit + pattern.size()) {
        next.append(code, from, hit - from).append(replacement);
      }
      next.append(code, from, std::string::npos);
      code.swap(next);
    }
    if (code != p.merged) state.SkipWithError("the passes disagree with the merge");
    faults += MinorFaults() - before;
  }
  Report(state, p, faults);
}

BENCHMARK(BM_Merge100kTexts50MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyResult100kTexts50MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Merge10kTexts5MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SequentialPasses10kTexts5MB)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
