#include "window/win32/win32_text_view.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string_view>

#include "main/display_encoding.h"

namespace win32ui {
namespace {

using platform::TextEncoding;

std::wstring WideOf(const std::u16string& chars) {
  return std::wstring(chars.begin(), chars.end());
}

// The characters the control shows for bytes, each line in its own encoding, and the
// encoding of every piece between CR LF pairs (the last piece, after the final CR LF,
// takes that of the line before it).
std::wstring Decode(std::string_view bytes, std::vector<TextEncoding>* encodings) {
  std::wstring chars;
  chars.reserve(bytes.size());
  TextEncoding last = TextEncoding::Utf8;
  size_t breaks = 0;
  display::ForEachEncodingRun(bytes, [&](TextEncoding encoding, std::string_view run) {
    chars += WideOf(display::CodecOf(encoding).Decode(run));
    size_t lines = 0;
    for (size_t p = run.find("\r\n"); p != std::string_view::npos; p = run.find("\r\n", p + 2)) {
      ++lines;
    }
    breaks += lines;
    if (encodings) {
      const bool partial = run.size() < 2 || run.substr(run.size() - 2) != "\r\n";
      encodings->insert(encodings->end(), lines + (partial ? 1 : 0), encoding);
    }
    last = encoding;
  });
  if (encodings && encodings->size() < breaks + 1) encodings->push_back(last);
  return chars;
}

// The pieces of a text between CR LF pairs, the last one (maybe empty) included.
std::vector<std::wstring_view> Pieces(std::wstring_view text) {
  std::vector<std::wstring_view> pieces;
  size_t start = 0;
  for (size_t p = text.find(L"\r\n"); p != std::wstring_view::npos; p = text.find(L"\r\n", start)) {
    pieces.push_back(text.substr(start, p - start));
    start = p + 2;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

// Every line break the control may hold (a pasted CR or LF alone) made CR LF, and no
// NUL, since a pane never holds one.
std::wstring Normalised(std::wstring_view chars) {
  std::wstring out;
  out.reserve(chars.size());
  for (size_t i = 0; i < chars.size(); ++i) {
    const wchar_t c = chars[i];
    if (c == L'\0') continue;
    if (c == L'\r' || c == L'\n') {
      out += L"\r\n";
      if (c == L'\r' && i + 1 < chars.size() && chars[i + 1] == L'\n') ++i;
      continue;
    }
    out += c;
  }
  return out;
}

}  // namespace

Win32TextView::Win32TextView(HWND edit, size_t capacity) : StoredTextView(capacity), edit_(edit) {
  // The user's typing is not limited; the pane keeps its texts within capacity_.
  SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
  encodings_.push_back(TextEncoding::Utf8);
}

bool Win32TextView::Visible() const {
  return IsWindowVisible(edit_) != FALSE;
}

platform::TextEncoding Win32TextView::LineEncoding(size_t i) const {
  EnsureBytes();
  return i < encodings_.size() ? encodings_[i] : TextEncoding::Utf8;
}

void Win32TextView::SetText(std::string_view text) {
  if (text.size() > capacity_) throw std::length_error("text over the view's capacity");
  bytes_.SetText(text);
  bytesValid_ = true;
  stale_ = true;
  if (Visible()) Fill();
  NotifyChange();
}

void Win32TextView::Append(std::string_view text) {
  EnsureBytes();
  if (text.size() > capacity_ - std::min(capacity_, bytes_.Size())) {
    throw std::length_error("text over the view's capacity");
  }
  // Text that continues the last line would change how that line is shown: the whole
  // text is shown anew then (appended log lines always start a line of their own).
  const bool partial = bytes_.Size() > 0 && !bytes_.EndsWithLineBreak();
  const bool joins = partial && text.substr(0, 2) != "\r\n";
  if (appendedFrom_ == std::string::npos) appendedFrom_ = bytes_.Size();
  bytes_.Append(text);
  if (joins) stale_ = true;
  NotifyChange();
}

void Win32TextView::Shown() {
  if (stale_) {
    Fill();
  } else {
    FlushAppended();
  }
}

void Win32TextView::FlushAppended() {
  if (stale_) {
    if (Visible()) Fill();
    return;
  }
  if (appendedFrom_ == std::string::npos) return;
  const std::string_view all = bytes_.Bytes();
  const size_t from = appendedFrom_;
  appendedFrom_ = std::string::npos;
  const bool partial = from > 0 && all.substr(from - std::min<size_t>(from, 2), 2) != "\r\n";
  AppendToControl(all.substr(from), partial);
}

void Win32TextView::Fill() {
  appendedFrom_ = std::string::npos;
  encodings_.clear();
  shown_ = Decode(bytes_.Bytes(), &encodings_);
  ownChange_ = true;
  SetWindowTextW(edit_, shown_.c_str());
  // The insertion point at the end, as after appending.
  const auto end = static_cast<WPARAM>(shown_.size());
  SendMessageW(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  ownChange_ = false;
  stale_ = false;
}

void Win32TextView::AppendToControl(std::string_view text, bool afterPartialLine) {
  std::vector<TextEncoding> added;
  // After a partial line the text starts with its CR LF, which ends that line.
  const std::wstring chars =
      afterPartialLine ? L"\r\n" + Decode(text.substr(2), &added) : Decode(text, &added);
  if (!afterPartialLine) encodings_.pop_back();  // the empty piece after the last CR LF
  encodings_.insert(encodings_.end(), added.begin(), added.end());
  shown_ += chars;
  ownChange_ = true;
  const auto length = static_cast<WPARAM>(GetWindowTextLengthW(edit_));
  SendMessageW(edit_, EM_SETSEL, length, static_cast<LPARAM>(length));
  SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(chars.c_str()));
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  ownChange_ = false;
}

void Win32TextView::OnControlChanged() {
  if (ownChange_ || stale_) return;
  // The control is to hold the whole text before it is read back.
  FlushAppended();
  bytesValid_ = false;
  NotifyChange();
}

void Win32TextView::ReadBack() const {
  const int length = GetWindowTextLengthW(edit_);
  std::wstring chars(static_cast<size_t>(length) + 1, L'\0');
  chars.resize(static_cast<size_t>(GetWindowTextW(edit_, chars.data(), length + 1)));
  std::wstring now = Normalised(chars);
  const std::vector<std::wstring_view> before = Pieces(shown_);
  const std::vector<std::wstring_view> after = Pieces(now);
  std::vector<TextEncoding> encodings = display::KeptLineEncodings(before, after, encodings_);
  std::string bytes;
  bytes.reserve(now.size());
  for (size_t i = 0; i < after.size(); ++i) {
    const std::u16string_view line(reinterpret_cast<const char16_t*>(after[i].data()),
                                   after[i].size());
    bytes += display::CodecOf(encodings[i]).Encode(line);
    if (i + 1 < after.size()) bytes += "\r\n";
  }
  bytes_.SetText(std::move(bytes));
  shown_ = std::move(now);
  encodings_ = std::move(encodings);
}

}  // namespace win32ui
