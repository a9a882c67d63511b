// What the benchmarks on Qt views share: a view shown as the window shows it, a wait
// until its document is complete, and a main that runs the benchmarks under a QApplication
// (offscreen unless the environment names a platform).
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>

#include "window/qt/qt_text_view.h"

// No wrap, 800x600, shown.
inline void ShowUnwrapped(QPlainTextEdit& edit) {
  edit.setLineWrapMode(QPlainTextEdit::NoWrap);
  edit.resize(800, 600);
  edit.show();
}

// Runs the event loop until the view's document holds the whole text and is shown.
inline void ProcessUntilComplete(const qtui::QtTextView& view) {
  while (!view.DocumentComplete()) QApplication::processEvents();
  QApplication::processEvents();
}

inline int RunQtBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
