// The text toolkit: the incremental tokenizer TIncTok and the string and file
// helpers the program is built on. Texts are byte strings; nothing is decoded.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "exceptions.h"
#include "platform/files.h"

// Non-printing characters that can be added to a tokenizer's separators.
enum TNPSepCharsList : std::uint8_t { npCR = 0, npLF = 1, npTAB = 2 };

// A set of TNPSepCharsList held in one byte, bit n standing for ordinal n.
class TNPSepChars {
 public:
  constexpr TNPSepChars() = default;
  constexpr TNPSepChars(std::initializer_list<TNPSepCharsList> items) {
    for (auto i : items) bits_ |= static_cast<std::uint8_t>(1u << i);
  }
  constexpr bool Contains(TNPSepCharsList i) const { return (bits_ >> i) & 1u; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr std::uint8_t Bits() const { return bits_; }
  friend constexpr bool operator==(TNPSepChars, TNPSepChars) = default;

 private:
  std::uint8_t bits_ = 0;
};

class TIncTok;
// Handler called after every delivered token, with the tokenizer as sender.
using TNotifyEvent = std::function<void(TIncTok& sender)>;

// Owner of a component. The tokenizer needs nothing from it: it is built and used
// without one.
class TComponent {
 public:
  explicit TComponent(TComponent* owner = nullptr) : owner_(owner) {}
  virtual ~TComponent() = default;
  TComponent* Owner() const { return owner_; }

 private:
  TComponent* owner_;
};

// Splits SourceString into tokens, one per NextToken call, at single-character
// separators. Every effective change of the text, the separators or the flags
// rewinds to the start.
//
//   TIncTok tok;                      // no owner
//   tok.SetSourceString("a,,b");
//   tok.SetSeparatorString(",");
//   while (tok.NextToken()) use(tok.CurrentToken());   // "a", "", "b"
class TIncTok : public TComponent {
 public:
  explicit TIncTok(TComponent* owner = nullptr);
  ~TIncTok() override;

  const TNotifyEvent& OnNewToken() const { return onNewToken_; }
  void SetOnNewToken(TNotifyEvent handler) { onNewToken_ = std::move(handler); }
  TNPSepChars NPSepChars() const { return npSepChars_; }
  void SetNPSepChars(TNPSepChars value);
  const std::string& SourceString() const { return sourceString_; }
  void SetSourceString(const std::string& value);
  // Reads back the separator set: sorted, with the characters the flags added.
  const std::string& SeparatorString() const { return separators_; }
  void SetSeparatorString(const std::string& value);
  const std::string& CurrentToken() const { return currentToken_; }
  void SetCurrentToken(const std::string&) {}  // accepted and ignored
  const std::string& CurrentSeparator() const { return currentSeparator_; }
  void SetCurrentSeparator(const std::string&) {}  // accepted and ignored

  // Delivers the next token; false when the text is exhausted (nothing changes then).
  bool NextToken();

  // Internal operations, visible for tests.
  // Back to the first character; CurrentToken and CurrentSeparator keep their values.
  void Restart();
  // Membership in the separator set; an empty set holds nothing.
  bool IsSeparator(char c) const;
  // A copy of t with its bytes in ascending unsigned order, duplicates kept.
  static std::string SortChars(const std::string& t);

  // Positions count from 1. The lengths are 64-bit so that no text, however long, wraps
  // them into a negative count that would silently end the scan.
  std::int64_t SourceLength() const { return sourceLength_; }
  std::int64_t SeparatorCount() const { return separatorCount_; }
  std::int64_t TokenStart() const { return tokenStart_; }

 private:
  TNotifyEvent onNewToken_;
  TNPSepChars npSepChars_;
  std::string sourceString_;
  std::string separators_;
  std::string currentToken_;
  std::string currentSeparator_;
  std::int64_t sourceLength_ = 0;
  std::int64_t separatorCount_ = 0;
  std::int64_t tokenStart_ = 1;
};

// Shrinks every run of one repeated character that is a member of `set` to one.
std::string CollapseRuns(std::string_view s, std::string_view set);

// Ends a directory name with the first character of `separator` (when not empty)
// and shrinks runs of slashes and backslashes; a leading "//" survives as a pair.
std::string NormalizePath(std::string_view path, std::string_view separator);

// Replaces every occurrence of pattern, leftmost first, without overlaps; text that a
// replacement brought in is never examined again. An empty pattern matches nowhere.
std::string SubstituteAll(std::string_view s, std::string_view pattern,
                          std::string_view replacement);

// Appends text to a file, creating it when missing; an empty file name stands for
// standard output. Throws EInOutError: 103 when the file cannot be opened or
// created, the system's code when the write fails; its detail names the file and the
// system's reason ("/var/log/v.log: Permission denied").
void AppendTextToFile(const std::string& fileName, std::string_view text);

// A file that texts are appended to, opened by the first Append and kept open until
// Close, so that a run of appends costs one open. Each Append is one write at the end
// of the file as it is at that moment (O_APPEND), as with AppendTextToFile, whose
// failures it reports the same way. After a failure the file is closed, so that the
// next Append opens it anew.
//
//   AppendingFile log("/var/log/v.log");
//   for (const std::string& line : lines) log.Append(line + "\r\n");
//   log.Close();
class AppendingFile {
 public:
  explicit AppendingFile(std::string fileName);  // "" stands for standard output
  ~AppendingFile();                              // closes; a failure then goes unreported
  AppendingFile(const AppendingFile&) = delete;
  AppendingFile& operator=(const AppendingFile&) = delete;

  void Append(std::string_view text);
  // Closes the file when it is open. A failed close (a deferred write error of a
  // network file system) throws like a failed write.
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

 private:
  [[noreturn]] void Fail(int code, int err);

  std::string fileName_;
  std::unique_ptr<platform::WritableFile> file_;
};
