#include "main/text_pane.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "_4str32/exceptions.h"
#include "platform/files.h"

namespace {

constexpr size_t kLineAtLimit = 4096;

// The text up to its first NUL.
std::string_view CutAtNul(std::string_view text) {
  const void* nul = std::memchr(text.data(), '\0', text.size());
  return nul ? text.substr(0, static_cast<const char*>(nul) - text.data()) : text;
}

}  // namespace

std::string NormalizeLineBreaks(std::string_view text) {
  text = CutAtNul(text);
  std::string out;
  out.reserve(text.size());
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    // Copy the run up to the next CR or LF in one piece.
    const char* q = p;
    while (q < end && *q != '\r' && *q != '\n') ++q;
    out.append(p, q);
    if (q == end) break;
    out += "\r\n";
    // A CR directly followed by LF is one break; any other CR or LF is one on its own.
    p = (*q == '\r' && q + 1 < end && q[1] == '\n') ? q + 2 : q + 1;
  }
  return out;
}

TextPane::TextPane(platform::TextView& view) : view_(view) {}

std::string TextPane::GetWholeText() const {
  return view_.Text();
}

void TextPane::SetWholeText(std::string_view text) {
  // Normalising only ever lengthens the text, so a text over the capacity once cut
  // at its NUL is refused before a copy of it is made.
  if (CutAtNul(text).size() > view_.Capacity()) throw EMemoCapacity();
  std::string normal = NormalizeLineBreaks(text);
  if (normal.size() > view_.Capacity()) throw EMemoCapacity();
  if (view_.TextEquals(normal)) return;
  view_.SetText(normal);
}

void TextPane::AddLine(std::string_view s) {
  // Lone CRs and LFs in s become CR LF too, so the pane keeps one line model
  // whatever view stands behind it.
  std::string line = NormalizeLineBreaks(s);
  std::string piece;
  piece.reserve(line.size() + 2);
  if (view_.Size() == 0 || view_.EndsWithLineBreak()) {
    piece.append(line).append("\r\n");
  } else {
    piece.append("\r\n").append(line);
  }
  if (piece.size() > view_.Capacity() - std::min(view_.Capacity(), view_.Size())) {
    throw EMemoCapacity();
  }
  view_.Append(piece);
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
  view_.SetOnChange(std::move(handler));
}
