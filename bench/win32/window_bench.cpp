// The Windows window (TMainForm under Wine) on a 2 MB dialog script, run by hand:
//
//   wine64 build-windows/bench/win32/window_bench.exe [iterations]
//
// window: a pair of a 2 MB code file and its header is loaded by Load code file,
// merged, its merged page shown until its control holds the whole text and has painted
// it, and saved. edit control: the same merged text, already in characters, set with
// WM_SETTEXT into a shown edit control of the pane's kind and painted. Both are
// measured in the same run; the median of each and their ratio are printed.
//
// Google Benchmark has no build for the cross compiler here, so this program times
// the two itself, the same way for both.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../script_generator.h"
#include "engine/line_breaks.h"
#include "engine/merge.h"
#include "fakes/fake_form_options.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "platform/wide_win.h"
#include "window/win32/main_form.h"
#include "window/win32/message_loop.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Pair {
  std::string code, header, merged;
};

// One run of the window: load, merge, show the merged page, save.
double WindowRun(const Pair& pair) {
  TempDir folder("vk_win_bench", TempDir::kLowerCase);
  WriteFile(folder / "vaskarel.ini", "[Start]\r\nLogFile=" + (folder / "vaskarel.log") + "\r\n");
  FakeFileDialog open, save;
  FakeMessageBoxes boxes;
  FakeClock clock;
  TMainForm form(
      FakeFormOptions<TMainFormOptions>(folder / "vaskarel.exe", open, save, boxes, clock));
  form.Show();
  PumpMessages(form);
  open.answers.push_back(pair.code);
  const std::string target = folder / "merged.c";
  save.answers.push_back(target);

  const Clock::time_point start = Clock::now();
  form.a4LoadCodeFileExecute();
  const Clock::time_point loaded = Clock::now();
  form.a4MergeFilesExecute();
  const Clock::time_point merged = Clock::now();
  form.ShowPage(6);
  UpdateWindow(form.PaneControl(window::Pane::MergedFile));
  PumpMessages(form);
  const Clock::time_point shown = Clock::now();
  form.a4SaveMergedFileExecute();
  const Clock::time_point end = Clock::now();
  const double ms = Ms(end - start);
  std::printf("  load %.0f ms, merge %.0f ms, show %.0f ms, save %.0f ms\n", Ms(loaded - start),
              Ms(merged - loaded), Ms(shown - merged), Ms(end - shown));
  if (!boxes.errors.empty() || ReadFile(target) != pair.merged ||
      GetWindowTextLengthW(form.PaneControl(window::Pane::MergedFile)) == 0) {
    std::fprintf(stderr, "the window did not merge and save the pair\n");
    std::exit(1);
  }
  return ms;
}

// One WM_SETTEXT of the merged characters into a shown edit control of the pane's kind.
double EditControlRun(const std::wstring& chars) {
  HWND frame = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                               480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                  ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                              0, 0, 620, 400, frame, nullptr, GetModuleHandleW(nullptr), nullptr);
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, L"Courier New");
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  UpdateWindow(frame);
  const Clock::time_point start = Clock::now();
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chars.c_str()));
  UpdateWindow(edit);
  const double ms = Ms(Clock::now() - start);
  DestroyWindow(frame);
  DeleteObject(font);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  static const TempDir folder("vk_win_bench_pair");
  const GeneratedScript script = GenerateScript(2000, 2000000);
  Pair pair{folder / "dialog.c", folder / "dialog.h", {}};
  WriteFile(pair.code, script.code);
  WriteFile(pair.header, script.header);
  pair.merged =
      MergeTexts(NormalizeLineBreaks(script.code), DialogTexts(NormalizeLineBreaks(script.header)));
  const std::wstring chars = platform::win::Wide(pair.merged);

  std::vector<double> window, edit;
  for (int i = 0; i < iterations; ++i) {
    window.push_back(WindowRun(pair));
    edit.push_back(EditControlRun(chars));
  }
  const double w = Median(window), e = Median(edit);
  std::printf("pair: %zu bytes of code, %zu bytes merged, %d iterations\n", script.code.size(),
              pair.merged.size(), iterations);
  std::printf("window (load, merge, show, save): %.1f ms\n", w);
  std::printf("edit control (WM_SETTEXT, painted): %.1f ms\n", e);
  std::printf("ratio: %.2f\n", w / e);
  return 0;
}
