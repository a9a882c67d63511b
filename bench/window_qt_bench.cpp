// The real window (TMainForm, offscreen) on big dialog scripts.
//
// BM_WindowPair10MB: a pair of a 10 MB code file and its header (10,000 texts) is
// loaded by the Load code file command, merged, its merged page shown until the pane's
// document is complete, and saved; a fresh window each time. Beside it
// BM_ShownSetPlainText10MB: Qt's own setPlainText of the same merged text, decoded and
// with LF breaks beforehand, into a shown QPlainTextEdit, until the window has handled
// it.
//
// BM_WindowStall: the window's own event loop runs while the commands come from it as
// from the keyboard, and a probe timer every 2 ms measures the longest time the loop
// took to come round: the longest the window did not answer. A 50 MB code file is
// loaded and its page shown, and a 30 MB one loaded over it; a 30 MB pair is loaded
// and its code page shown, then merged and its merged page shown.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../tests/fakes/fake_platform.h"
#include "../tests/fakes/temp_dir.h"
#include "../tests/window/qt/window_options.h"
#include "engine/merge.h"
#include "main/main_core.h"
#include "main/text_pane.h"
#include "qt_bench_support.h"
#include "script_generator.h"
#include "window/qt/main_form.h"
#include "window/qt/qt_text_view.h"

namespace {

constexpr int kCodePage = 4;
constexpr int kMergedPage = 6;
constexpr int kPairTexts = 10000;

// A pair of files of about codeMB megabytes of code, written once per size into a
// folder that goes when the program ends.
struct Pair {
  std::string code, header, merged;
};

const Pair& PairOf(size_t codeMB) {
  static const TempDir folder("vk_window_bench");
  static std::map<size_t, Pair> pairs;
  auto it = pairs.find(codeMB);
  if (it != pairs.end()) return it->second;
  const GeneratedScript script = GenerateScript(kPairTexts, codeMB * 1000000);
  Pair pair;
  pair.code = folder / ("dialog" + std::to_string(codeMB) + ".c");
  pair.header = folder / ("dialog" + std::to_string(codeMB) + ".h");
  WriteFile(pair.code, script.code);
  WriteFile(pair.header, script.header);
  pair.merged =
      MergeTexts(NormalizeLineBreaks(script.code), DialogTexts(NormalizeLineBreaks(script.header)));
  return pairs.emplace(codeMB, std::move(pair)).first->second;
}

// The window in a program folder of its own with a log file there, scripted dialogs
// and boxes; shown, with every event of its start handled.
struct Window {
  Window() {
    WriteFile(folder / "vaskarel.ini", "[Start]\r\nLogFile=" + (folder / "vaskarel.log") + "\r\n");
    form = std::make_unique<TMainForm>(
        FakeWindowOptions(folder, openDialog, saveDialog, boxes, clock));
    form->show();
    QApplication::processEvents();
  }
  ~Window() {
    form.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  qtui::QtTextView& View(const char* name) const {
    return *form->findChild<qtui::QtTextView*>(QString::fromLatin1(name));
  }
  void Run(const char* action) const {
    form->findChild<QAction*>(QString::fromLatin1(action))->trigger();
  }

  CurrentDirectoryGuard cwd;
  TempDir folder{"vk_window_bench", TempDir::kLowerCase};
  FakeFileDialog openDialog, saveDialog;
  FakeMessageBoxes boxes;
  FakeClock clock;
  std::unique_ptr<TMainForm> form;
};

// Wall and CPU time (of the window's thread) at one moment, in ms.
struct Moment {
  double wall, cpu;
  static Moment Now() {
    timespec cpuTime{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuTime);
    const auto wallTime = std::chrono::steady_clock::now().time_since_epoch();
    return {std::chrono::duration<double, std::milli>(wallTime).count(),
            static_cast<double>(cpuTime.tv_sec) * 1e3 + static_cast<double>(cpuTime.tv_nsec) / 1e6};
  }
};

void BM_WindowPair10MB(benchmark::State& state) {
  const Pair& pair = PairOf(10);
  // Wall and CPU time of each step, summed over the iterations.
  const char* const kSteps[] = {"load", "merge", "show", "save"};
  double wall[4] = {}, cpu[4] = {};
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    window->openDialog.answers.push_back(pair.code);
    const std::string target = window->folder / "merged.c";
    window->saveDialog.answers.push_back(target);
    state.ResumeTiming();
    Moment t[5];
    t[0] = Moment::Now();
    window->Run("a4LoadCodeFile");
    t[1] = Moment::Now();
    window->Run("a4MergeFiles");
    t[2] = Moment::Now();
    window->form->ShowPage(kMergedPage);
    ProcessUntilComplete(window->View("m4MergedFile"));
    t[3] = Moment::Now();
    window->Run("a4SaveMergedFile");
    t[4] = Moment::Now();
    state.PauseTiming();
    for (int i = 0; i < 4; ++i) {
      wall[i] += t[i + 1].wall - t[i].wall;
      cpu[i] += t[i + 1].cpu - t[i].cpu;
    }
    if (!window->boxes.errors.empty()) state.SkipWithError(window->boxes.errors[0].text.c_str());
    if (ReadFile(target) != pair.merged) state.SkipWithError("saved file is not the merged text");
    window.reset();
    state.ResumeTiming();
  }
  const double n = static_cast<double>(state.iterations());
  for (int i = 0; i < 4; ++i) {
    state.counters[std::string(kSteps[i]) + "_ms"] = wall[i] / n;
    state.counters[std::string(kSteps[i]) + "_cpu_ms"] = cpu[i] / n;
  }
}
BENCHMARK(BM_WindowPair10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShownSetPlainText10MB(benchmark::State& state) {
  const std::string& merged = PairOf(10).merged;
  QString chars = QString::fromUtf8(merged.data(), static_cast<qsizetype>(merged.size()));
  chars.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  for (auto _ : state) {
    state.PauseTiming();
    auto edit = std::make_unique<QPlainTextEdit>();
    ShowUnwrapped(*edit);
    QApplication::processEvents();
    state.ResumeTiming();
    edit->setPlainText(chars);
    QApplication::processEvents();
    state.PauseTiming();
    edit.reset();
    state.ResumeTiming();
  }
  state.counters["merged_MB"] = static_cast<double>(merged.size()) / 1e6;
  state.counters["merged_lines"] = static_cast<double>(chars.count(QLatin1Char('\n')));
}
BENCHMARK(BM_ShownSetPlainText10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// The longest gap between two turns of the event loop in each of a row of steps that
// run from the loop, each when the one before has finished.
class StallProbe {
 public:
  struct Step {
    const char* name;
    std::function<void()> run;
    std::function<bool()> done;  // null: done when run
  };

  // The longest gap in ms in each step, by the step's name.
  static std::map<std::string, double> Measure(std::vector<Step> steps) {
    std::map<std::string, double> longest;
    QEventLoop loop;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(2);
    size_t next = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    QObject::connect(&probe, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      if (next > 0) {
        double& step = longest[steps[next - 1].name];
        step = std::max(step, static_cast<double>(now - last) / 1e6);
        if (steps[next - 1].done && !steps[next - 1].done()) {
          last = now;
          return;
        }
      }
      if (next == steps.size()) return loop.quit();
      // The step's own time counts in the gap to the next turn.
      last = now;
      steps[next++].run();
    });
    probe.start();
    loop.exec();
    return longest;
  }
};

// Arg 0: a 50 MB code file is loaded and its page shown, then a 30 MB one loaded over it
// while the page shows. Arg 1: a 30 MB pair is loaded and its code page shown, then
// merged and the merged page shown. Counters: the longest pause of all, and of each step.
void BM_WindowStall(benchmark::State& state) {
  const bool pair = state.range(0) == 1;
  const Pair& big = PairOf(50);
  const Pair& other = PairOf(30);
  std::map<std::string, double> longest;
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    window->openDialog.answers.push_back(pair ? other.code : big.code);
    if (!pair) window->openDialog.answers.push_back(other.code);
    state.ResumeTiming();
    Window& w = *window;
    const auto codeShown = [&] { return w.View("m4CodeFile").DocumentComplete(); };
    std::vector<StallProbe::Step> steps = {
        {"load", [&] { w.Run("a4LoadCodeFile"); }, nullptr},
        {"show_code", [&] { w.form->ShowPage(kCodePage); }, codeShown},
    };
    if (pair) {
      steps.push_back({"merge", [&] { w.Run("a4MergeFiles"); }, nullptr});
      steps.push_back({"show_merged", [&] { w.form->ShowPage(kMergedPage); },
                       [&] { return w.View("m4MergedFile").DocumentComplete(); }});
    } else {
      steps.push_back({"load_over_it", [&] { w.Run("a4LoadCodeFile"); }, codeShown});
    }
    for (const auto& [step, ms] : StallProbe::Measure(std::move(steps))) {
      longest[step] = std::max(longest[step], ms);
      longest["longest_stall"] = std::max(longest["longest_stall"], ms);
    }
    state.PauseTiming();
    if (!window->boxes.errors.empty()) state.SkipWithError(window->boxes.errors[0].text.c_str());
    window.reset();
    state.ResumeTiming();
  }
  for (const auto& [step, ms] : longest) state.counters[step + "_ms"] = ms;
}
BENCHMARK(BM_WindowStall)
    ->ArgName("pair")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return RunQtBenchmarks(argc, argv);
}
