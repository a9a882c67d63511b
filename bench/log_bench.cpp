// The activity log under load: a merge of 10,000 dialog texts writes 10,003 log lines,
// each mirrored at once into a real log file (one open per command, one write per
// line), on the in-memory view. Compared with the same merge while no mirror is
// connected, and the lines alone with the plain writes of the same bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "log_bench_window.h"
#include "main/memory_text_view.h"

namespace fs = std::filesystem;

namespace {

// One window's logic over in-memory views.
struct Window : LogBenchWindow<MemoryTextView> {
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

std::string EntryLine(int n) {
  return "DLG_TEXT[" + std::to_string(n) + "] \"dialog text number\"";
}

// The mirror alone: 10,000 entry lines added to the log pane, each appended to the
// file, inside one command (one open) or outside any (an open and close per line, as
// for lines the user types).
void LogLines(benchmark::State& state, bool inOneCommand) {
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>(true);
    state.ResumeTiming();
    auto lines = [&] {
      for (int n = 0; n < kLogTexts; ++n) window->core.Log(EntryLine(n));
    };
    if (inOneCommand) {
      window->core.RunCommand(lines);
    } else {
      lines();
    }
    state.PauseTiming();
    if (!window->boxes.errors.empty()) state.SkipWithError(window->boxes.errors[0].text.c_str());
    window.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLogTexts);
}

void BM_LogLinesInOneCommand(benchmark::State& state) {
  LogLines(state, true);
}
void BM_LogLinesOpeningTheFileEach(benchmark::State& state) {
  LogLines(state, false);
}

// The floor: the same lines with CR LF written to one file opened for appending, one
// write call each, no pane.
void BM_PlainAppendOfTheSameLines(benchmark::State& state) {
  TempDir dir("vk_log_bench_plain");
  const std::string path = dir / "plain.log";
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    for (int n = 0; n < kLogTexts; ++n) {
      const std::string line = EntryLine(n) + "\r\n";
      if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        state.SkipWithError("write failed");
      }
    }
    ::close(fd);
    state.PauseTiming();
    fs::remove(path);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLogTexts);
}

}  // namespace

BENCHMARK(BM_MergeWithLogMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeWithoutLogMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogLinesInOneCommand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogLinesOpeningTheFileEach)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainAppendOfTheSameLines)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
