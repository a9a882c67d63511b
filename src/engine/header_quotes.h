// How the double quotes of a header are read twice: by the merge, which counts every
// one, and by the engine's script reader, which skips comments and preprocessor lines.
// Where the two disagree, texts shift. Both take a backslash as an ordinary character:
// "\", is the one-character text \.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Where a byte stands for an editor: its line and column, both from 1.
struct TextPosition {
  size_t line = 1, column = 1;
};

// Line numbers of a pane text (lines are the pieces between CR LF pairs), for
// positions asked in ascending order: each question costs only the bytes since the
// last one. A position before the last starts the count again. Columns count
// characters: a UTF-8 sequence is one when utf8 is set, else every byte is one.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text, bool utf8 = false)
      : text_(text), nextBreak_(text.find('\n')), utf8_(utf8) {}
  // The line (from 1) that holds the byte at pos.
  size_t LineOf(size_t pos);
  TextPosition PositionOf(size_t pos);

 private:
  std::string_view text_;
  size_t pos_ = 0, line_ = 1, lineStart_ = 0;
  size_t nextBreak_;  // the first LF at or after pos_
  bool utf8_;
};

// How the script reader sees a double quote of the header.
enum class QuoteRole {
  InComment,      // inside // or /* */
  InCharLiteral,  // '"'
  DirectiveOpen,  // opens a string of a preprocessor line (#include "x.h")
};

struct Quote {
  size_t pos;
  size_t ordinal;  // how many double quotes stand before it
  QuoteRole role;
};

// The double quotes of a header (a pane text, CR LF breaks) that the reader does not
// take as the delimiters of the list's literals, in order, and how many there are.
struct HeaderQuotes {
  std::vector<Quote> stray;
  size_t count = 0;  // every double quote, as the merge counts them
  size_t last = 0;   // where the last one stands
};
HeaderQuotes ClassifyQuotes(std::string_view header);
