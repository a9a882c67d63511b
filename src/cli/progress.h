// The progress line of a long folder run on a terminal: a bar, the files done and the
// time left, redrawn in place on the error stream.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

class ProgressLine {
 public:
  // Draws nothing unless enabled; elapsedSeconds tells the time since the run began.
  ProgressLine(std::ostream& err, bool enabled, std::function<double()> elapsedSeconds);

  // Shows done of total once the run has taken long enough to be worth a bar, at most
  // a few times a second.
  void Update(size_t done, size_t total);
  // Takes the bar off the line, so that a message can be written; Update brings it back.
  void Clear();
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // The text of the line: bar, files done, time left (estimated from the rate so far).
  static std::string Render(size_t done, size_t total, double elapsedSeconds);

 private:
  std::ostream& err_;
  bool enabled_;
  std::function<double()> elapsed_;
  bool shown_ = false;
  double lastDraw_ = -1;
};
