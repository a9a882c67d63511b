#include "main/text_pane.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "_4str32/exceptions.h"
#include "engine/line_breaks.h"
#include "platform/files.h"

namespace {

constexpr size_t kLineAtLimit = 4096;

}  // namespace

TextPane::TextPane(TextView& view) : view_(view) {}

std::string TextPane::GetWholeText() const {
  return view_.Text();
}

void TextPane::SetWholeText(std::string_view text) {
  // Most texts (every merged text, files with CR LF breaks) need no change: they go to
  // the view without a copy.
  std::string normal;
  if (!IsNormalPaneText(text)) {
    // Normalising only ever lengthens the text, so a text over the capacity once cut
    // at its NUL is refused before a copy of it is made.
    if (CutAtNul(text).size() > view_.Capacity()) throw EMemoCapacity();
    normal = NormalizeLineBreaks(text);
    text = normal;
  }
  if (text.size() > view_.Capacity()) throw EMemoCapacity();
  if (view_.TextEquals(text)) return;
  view_.SetText(text);
}

void TextPane::AddLine(std::string_view s) {
  // Lone CRs and LFs in s become CR LF too, so the pane keeps one line model
  // whatever view stands behind it.
  const std::string line = NormalizeLineBreaks(s);
  const auto piece = [&] {
    std::string p;
    p.reserve(line.size() + 2);
    if (view_.Size() == 0 || view_.EndsWithLineBreak()) return p.append(line).append("\r\n");
    return p.append("\r\n").append(line);
  };
  std::string added = piece();
  if (added.size() > view_.Capacity() - std::min(view_.Capacity(), view_.Size())) {
    // A line the pane could never hold fails; otherwise the oldest lines make room,
    // so that a full log pane goes on taking lines (the log file keeps them all).
    if (line.size() + 2 > view_.Capacity()) throw EMemoCapacity();
    DropOldestLines(added.size());
    added = piece();
  }
  view_.Append(added);
}

void TextPane::DropOldestLines(size_t room) {
  // Frees a quarter of the pane at least, so that a full pane trims now and then
  // rather than at every line.
  const size_t capacity = view_.Capacity();
  const size_t keepAtMost = capacity - std::min(capacity, std::max(room, capacity / 4));
  const std::string text = view_.Text();
  size_t start = text.size() - std::min(text.size(), keepAtMost);
  if (start > 0) {
    // Keep whole lines: begin behind the first CR LF that ends at or after start.
    const size_t crlf = text.find("\r\n", start >= 2 ? start - 2 : 0);
    start = crlf == std::string::npos ? text.size() : crlf + 2;
  }
  // One AddLine is one change: the trimming itself is not announced.
  view_.SetOnChange(nullptr);
  try {
    view_.SetText(std::string_view(text).substr(start));
  } catch (...) {
    view_.SetOnChange(onChange_);
    throw;
  }
  view_.SetOnChange(onChange_);
}

void TextPane::ClearText() {
  if (view_.Size() != 0) view_.SetText({});
}

void TextPane::LoadText(const std::string& fileName) {
  // Only what the pane can hold is read: everything from the first NUL on is dropped
  // anyway, and a text longer than the capacity before it is refused.
  std::string bytes;
  const int err = platform::Files().ReadTextUpToNul(fileName, view_.Capacity(), bytes);
  if (err == EFBIG) throw EMemoCapacity();
  if (err != 0) throw EFOpenError(fileName);
  SetWholeText(bytes);
}

void TextPane::SaveText(const std::string& fileName) const {
  int err = 0;
  std::unique_ptr<platform::WritableFile> file = platform::Files().CreateOrReplace(fileName, err);
  if (!file) throw EFCreateError(fileName);
  const std::string text = view_.Text();
  size_t written = 0;
  const bool wrote = file->Write(text, &written) == 0 && written == text.size();
  // Durable before success is reported: a failed sync or close is a failed write.
  const bool synced = wrote && file->Sync() == 0;
  const bool closed = file->Close() == 0;
  if (!wrote || !synced || !closed) throw EWriteError();
  // Best effort for the directory entry of a newly created file; the bytes
  // themselves are already safe.
  platform::Files().SyncParentDirectory(fileName);
}

size_t TextPane::LineCount() const {
  return view_.LineCount();
}

std::string TextPane::LineAt(size_t i) const {
  return view_.LineAt(i, kLineAtLimit);
}

void TextPane::SetOnChange(std::function<void()> handler) {
  onChange_ = std::move(handler);
  view_.SetOnChange(onChange_);
}
