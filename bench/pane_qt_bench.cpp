// Text panes on the Qt view (offscreen platform, no wrap, a shown 800x600 widget):
// loading and reading back files of 1, 10 and 50 MB (and one just under the 64 MiB
// capacity) beside Qt's own setPlainText of the same text, and the log pane taking
// 10,000 lines beside Qt's own line-by-line appendPlainText. Peak memory is the process's maximum
// resident size so far.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <map>
#include <string>

#include "../tests/fakes/temp_dir.h"
#include "main/text_pane.h"
#include "qt_bench_support.h"
#include "script_generator.h"
#include "window/qt/qt_text_view.h"

namespace {

double PeakResidentMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

size_t BytesFor(int64_t arg) {
  return arg == 64 ? kDefaultTextCapacity - 4096 : static_cast<size_t>(arg) * 1000000;
}

// A code file of about the given size with CR LF lines, written once per size into a
// folder that goes when the program ends.
const std::string& CodeFile(size_t bytes) {
  static std::map<size_t, std::string> files;
  auto it = files.find(bytes);
  if (it != files.end()) return it->second;
  static const TempDir folder("vk_pane_bench");
  std::string code = GenerateScript(10000, bytes).code;
  code.resize(bytes);
  const std::string path = folder / (std::to_string(bytes) + ".c");
  WriteFile(path, code);
  return files.emplace(bytes, path).first->second;
}

struct ShownView {
  ShownView() {
    ShowUnwrapped(view);
    QApplication::processEvents();
  }
  void ProcessUntilShown() { ProcessUntilComplete(view); }
  qtui::QtTextView view;
  TextPane pane{view};
};

// LoadText of a file into an empty pane, until the window has shown all of it (the
// document is built in slices, one per pass of the event loop).
void BM_LoadText(benchmark::State& state) {
  const size_t bytes = BytesFor(state.range(0));
  const std::string& file = CodeFile(bytes);
  ShownView v;
  for (auto _ : state) {
    state.PauseTiming();
    v.pane.ClearText();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
    v.pane.LoadText(file);
    v.ProcessUntilShown();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["peak_MB"] = PeakResidentMB();
}
BENCHMARK(BM_LoadText)->Arg(1)->Arg(10)->Arg(50)->Arg(64)->Unit(benchmark::kMillisecond);

// The floor: Qt's own setPlainText of the same text, already decoded and with LF breaks.
void BM_QtSetPlainText(benchmark::State& state) {
  const size_t bytes = BytesFor(state.range(0));
  std::string code = GenerateScript(10000, bytes).code;
  code.resize(bytes);
  QString chars = QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size()));
  chars.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QPlainTextEdit edit;
  ShowUnwrapped(edit);
  for (auto _ : state) {
    state.PauseTiming();
    edit.clear();
    QApplication::processEvents();
    state.ResumeTiming();
    edit.setPlainText(chars);
    QApplication::processEvents();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["lines"] = edit.document()->blockCount();
}
BENCHMARK(BM_QtSetPlainText)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// GetWholeText of a loaded pane: unchanged since loading, and right after an edit
// by the user (the bytes are read back from the document once).
void GetWholeText(benchmark::State& state, bool edited) {
  const size_t bytes = BytesFor(state.range(0));
  ShownView v;
  v.pane.LoadText(CodeFile(bytes));
  v.ProcessUntilShown();
  for (auto _ : state) {
    if (edited) {
      state.PauseTiming();
      QTextCursor cursor(v.view.document());
      cursor.insertText("x");  // what a typed key does to the document
      state.ResumeTiming();
    }
    std::string text = v.pane.GetWholeText();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
void BM_GetWholeText(benchmark::State& state) {
  GetWholeText(state, false);
}
void BM_GetWholeTextAfterEdit(benchmark::State& state) {
  GetWholeText(state, true);
}
BENCHMARK(BM_GetWholeText)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetWholeTextAfterEdit)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// Typing into a loaded pane: one character typed (as a key would insert it) and the
// change it notifies; the bytes are read back only when the text is next read.
void BM_TypeIntoLoadedPane(benchmark::State& state) {
  ShownView v;
  v.pane.LoadText(CodeFile(BytesFor(state.range(0))));
  v.ProcessUntilShown();
  v.view.setFocus();
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&v.view, &press);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_TypeIntoLoadedPane)->Arg(10)->Unit(benchmark::kMicrosecond);

constexpr int kLines = 10000;

std::string LogLine(int i) {
  return "DLG_TEXT[" + std::to_string(i) + "] \"Text " + std::to_string(i) +
         ": the captain told you never to sail at night\"";
}

// AddLine of 10,000 log lines to the log pane, until the window has shown them.
void BM_AddLine10kLines(benchmark::State& state) {
  ShownView v;
  for (auto _ : state) {
    state.PauseTiming();
    v.pane.ClearText();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
    for (int i = 0; i < kLines; ++i) v.pane.AddLine(LogLine(i));
    v.ProcessUntilShown();
  }
  state.counters["lines_per_s"] =
      benchmark::Counter(kLines, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AddLine10kLines)->Unit(benchmark::kMillisecond);

// The same lines through QPlainTextEdit::appendPlainText, one layout per line.
void BM_AppendPlainText10kLines(benchmark::State& state) {
  QPlainTextEdit edit;
  ShowUnwrapped(edit);
  for (auto _ : state) {
    state.PauseTiming();
    edit.clear();
    QApplication::processEvents();
    state.ResumeTiming();
    for (int i = 0; i < kLines; ++i) edit.appendPlainText(QString::fromStdString(LogLine(i)));
    QApplication::processEvents();
  }
  state.counters["lines_per_s"] =
      benchmark::Counter(kLines, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AppendPlainText10kLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunQtBenchmarks(argc, argv);
}
