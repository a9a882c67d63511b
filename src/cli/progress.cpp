// The progress line of a long folder run.
#include "cli/progress.h"

#include <cmath>
#include <ostream>

namespace {

// A bar appears only after this long, so short runs print nothing but their summary.
constexpr double kShowAfterSeconds = 0.5;
constexpr double kRedrawEverySeconds = 0.1;
constexpr size_t kBarWidth = 30;

std::string Duration(double seconds) {
  const long total = std::lround(std::max(0.0, seconds));
  const long h = total / 3600, m = total / 60 % 60, s = total % 60;
  std::string out;
  auto two = [](long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
  if (h > 0)
    out = std::to_string(h) + ":" + two(m);
  else
    out = std::to_string(m);
  return out + ":" + two(s);
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& err, bool enabled, std::function<double()> elapsedSeconds)
    : err_(err), enabled_(enabled), elapsed_(std::move(elapsedSeconds)) {}

std::string ProgressLine::Render(size_t done, size_t total, double elapsedSeconds) {
  const size_t filled = total == 0 ? kBarWidth : done * kBarWidth / total;
  std::string line = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "] " +
                     std::to_string(done) + "/" + std::to_string(total) + " files, ";
  if (done == 0) return line + "--:-- left";
  const double left =
      elapsedSeconds / static_cast<double>(done) * static_cast<double>(total - done);
  return line + Duration(left) + " left";
}

void ProgressLine::Update(size_t done, size_t total) {
  if (!enabled_) return;
  const double now = elapsed_();
  if (now < kShowAfterSeconds) return;
  if (shown_ && now - lastDraw_ < kRedrawEverySeconds && done < total) return;
  lastDraw_ = now;
  shown_ = true;
  err_ << '\r' << Render(done, total, now) << "\x1b[K" << std::flush;
}

void ProgressLine::Clear() {
  if (!shown_) return;
  shown_ = false;
  lastDraw_ = -1;
  err_ << "\r\x1b[K" << std::flush;
}
