// The activity log under load: a merge of 10,000 dialog texts writes 10,003 log lines,
// each mirrored at once into a real log file (open, append, close per line), on the
// in-memory view. Compared with the same merge while no mirror is connected.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "../tests/fakes/fake_platform.h"
#include "main/main_core.h"
#include "platform/memory_text_view.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTexts = 10000;

// A header of kTexts literals and a code text that refers to each of them once.
struct Script {
  std::string header, code;
  Script() {
    for (int n = 0; n < kTexts; ++n) {
      header += "  \"dialog text number " + std::to_string(n) + ", said by someone\",\r\n";
      code += "  say(DLG_TEXT[" + std::to_string(n) + "]);\r\n";
    }
  }
};

const Script& TheScript() {
  static const Script script;
  return script;
}

// One window's logic over in-memory views, its log file in a fresh folder.
struct Window {
  platform::MemoryTextView log, code, header, merged, doku;
  FakeFileDialog open, save;
  FakeMessageBoxes boxes;
  FakeClock clock;
  TMainCore core{MainServices{log, code, header, merged, doku, open, save, boxes, clock,
                              TestFormats(), [](int) {}, [] {}, [] {}}};
  fs::path dir;

  explicit Window(bool mirror) {
    std::string tmpl = (fs::temp_directory_path() / "vk_log_bench_XXXXXX").string();
    dir = mkdtemp(tmpl.data());
    core.logFile = (dir / "vaskarel.log").string();
    open.SetFileName((dir / "dialog.c").string());
    core.m4CodeFile.SetWholeText(TheScript().code);
    core.m4HeaderFile.SetWholeText(TheScript().header);
    if (mirror) core.m4Log.SetOnChange([this] { core.OnLogChange(); });
  }
  ~Window() { fs::remove_all(dir); }
};

void MergeOf10000Texts(benchmark::State& state, bool mirror) {
  TheScript();
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
    for (int n = 0; n < kTexts; ++n) {
      window->core.Log("DLG_TEXT[" + std::to_string(n) + "] \"dialog text number\"");
    }
    state.PauseTiming();
    if (!window->boxes.errors.empty()) state.SkipWithError(window->boxes.errors[0].text.c_str());
    window.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}

}  // namespace

BENCHMARK(BM_MergeWithLogMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeWithoutLogMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogLinesMirrored)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
