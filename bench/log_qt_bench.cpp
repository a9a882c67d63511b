// The activity log on the window's own view: a merge of 10,000 dialog texts whose
// 10,003 log lines go into a shown Qt log view and, one by one, into a real log file.
// The time runs until the view's document holds every line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "log_bench_window.h"
#include "qt_bench_support.h"
#include "window/qt/qt_text_view.h"

namespace {

// The window's logic over Qt views, the log view shown and mirrored.
struct Window : LogBenchWindow<qtui::QtTextView> {
  Window() : LogBenchWindow("vk_log_qt_bench", true) {
    ShowUnwrapped(logView);
    QApplication::processEvents();
  }
};

template <typename Body>
void Measure(benchmark::State& state, Body body) {
  TheLogScript();
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    state.ResumeTiming();
    body(*window);
    window->logView.Flush();
    state.PauseTiming();
    if (!window->boxes.errors.empty()) state.SkipWithError(window->boxes.errors[0].text.c_str());
    if (window->logView.document()->blockCount() < kLogTexts) {
      state.SkipWithError("log view incomplete");
    }
    window.reset();
    state.ResumeTiming();
  }
}

void BM_QtMergeWithLogMirror(benchmark::State& state) {
  Measure(state, [](Window& w) { w.core.RunCommand([&] { w.core.MergeFiles(); }); });
}

void BM_QtLogLinesMirrored(benchmark::State& state) {
  Measure(state, [](Window& w) {
    for (int n = 0; n < kLogTexts; ++n) {
      w.core.Log("DLG_TEXT[" + std::to_string(n) + "] \"dialog text number\"");
    }
  });
  state.SetItemsProcessed(state.iterations() * kLogTexts);
}

}  // namespace

BENCHMARK(BM_QtMergeWithLogMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtLogLinesMirrored)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  return RunQtBenchmarks(argc, argv);
}
