// The activity log under load: a merge of 10,000 dialog texts writes 10,003 log lines,
// each mirrored at once into a real log file (open, append, close per line), on the
// in-memory view. Compared with the same merge while no mirror is connected.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "log_bench_window.h"
#include "platform/memory_text_view.h"

namespace fs = std::filesystem;

namespace {

// One window's logic over in-memory views.
struct Window : LogBenchWindow<platform::MemoryTextView> {
  explicit Window(bool mirror) : LogBenchWindow("vk_log_bench", mirror) {}
};

void MergeOf10000Texts(benchmark::State& state, bool mirror) {
  TheLogScript();
  size_t logBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>(mirror);
    state.ResumeTiming();
    window->core.RunCommand([&] { window->core.MergeFiles(); });
    state.PauseTiming();
    if (!window->boxes.errors.empty()) state.SkipWithError(window->boxes.errors[0].text.c_str());
    logBytes = mirror ? fs::file_size(window->core.logFile) : 0;
    benchmark::DoNotOptimize(window->core.m4Log.LineCount());
    window.reset();
    state.ResumeTiming();
  }
  state.counters["log_file_bytes"] = static_cast<double>(logBytes);
}

void BM_MergeWithLogMirror(benchmark::State& state) {
  MergeOf10000Texts(state, true);
}
void BM_MergeWithoutLogMirror(benchmark::State& state) {
  MergeOf10000Texts(state, false);
}

// The mirror alone: 10,000 entry lines added to the log pane, each appended to the file.
void BM_LogLinesMirrored(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>(true);
    state.ResumeTiming();
    for (int n = 0; n < kLogTexts; ++n) {
      window->core.Log("DLG_TEXT[" + std::to_string(n) + "] \"dialog text number\"");
    }
    state.PauseTiming();
    if (!window->boxes.errors.empty()) state.SkipWithError(window->boxes.errors[0].text.c_str());
    window.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLogTexts);
}

}  // namespace

BENCHMARK(BM_MergeWithLogMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeWithoutLogMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogLinesMirrored)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
