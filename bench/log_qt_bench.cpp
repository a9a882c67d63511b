// The activity log on the window's own view: a merge of 10,000 dialog texts whose
// 10,003 log lines go into a shown Qt log view and, one by one, into a real log file.
// The time runs until the view's document holds every line.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "../tests/fakes/fake_platform.h"
#include "main/main_core.h"
#include "platform/qt/qt_text_view.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTexts = 10000;

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

// The window's logic over Qt views, the log view shown; its log file in a fresh folder.
struct Window {
  platform::QtTextView log, code, header, merged, doku;
  FakeFileDialog open, save;
  FakeMessageBoxes boxes;
  FakeClock clock;
  TMainCore core{MainServices{log, code, header, merged, doku, open, save, boxes, clock,
                              TestFormats(), [](int) {}, [] {}, [] {}}};
  fs::path dir;

  Window() {
    std::string tmpl = (fs::temp_directory_path() / "vk_log_qt_bench_XXXXXX").string();
    dir = mkdtemp(tmpl.data());
    core.logFile = (dir / "vaskarel.log").string();
    open.SetFileName((dir / "dialog.c").string());
    core.m4CodeFile.SetWholeText(TheScript().code);
    core.m4HeaderFile.SetWholeText(TheScript().header);
    log.setLineWrapMode(QPlainTextEdit::NoWrap);
    log.resize(800, 600);
    log.show();
    core.m4Log.SetOnChange([this] { core.OnLogChange(); });
    QApplication::processEvents();
  }
  ~Window() { fs::remove_all(dir); }
};

template <typename Body>
void Measure(benchmark::State& state, Body body) {
  TheScript();
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    state.ResumeTiming();
    body(*window);
    window->log.Flush();
    state.PauseTiming();
    if (!window->boxes.errors.empty()) state.SkipWithError(window->boxes.errors[0].text.c_str());
    if (window->log.document()->blockCount() < kTexts) state.SkipWithError("log view incomplete");
    window.reset();
    state.ResumeTiming();
  }
}

void BM_QtMergeWithLogMirror(benchmark::State& state) {
  Measure(state, [](Window& w) { w.core.RunCommand([&] { w.core.MergeFiles(); }); });
}

void BM_QtLogLinesMirrored(benchmark::State& state) {
  Measure(state, [](Window& w) {
    for (int n = 0; n < kTexts; ++n) {
      w.core.Log("DLG_TEXT[" + std::to_string(n) + "] \"dialog text number\"");
    }
  });
  state.SetItemsProcessed(state.iterations() * kTexts);
}

}  // namespace

BENCHMARK(BM_QtMergeWithLogMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtLogLinesMirrored)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
