// How the double quotes of a header are read twice: by the merge, which counts every
// one, and by the engine's script reader, which skips comments and preprocessor lines.
// Where the two disagree, texts shift. Both take a backslash as an ordinary character:
// "\", is the one-character text \.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Line numbers of a pane text: lines are the pieces between CR LF pairs. The index is
// built at the first question, since a clean script never asks.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) : text_(text) {}
  // The line (from 1) that holds the byte at pos.
  size_t LineOf(size_t pos) const;

 private:
  std::string_view text_;
  mutable std::vector<size_t> starts_;
};

// How the script reader sees a double quote of the header.
enum class QuoteRole {
  Delimiter,       // opens or closes a string literal of the list
  InComment,       // inside // or /* */
  InCharLiteral,   // '"'
  DirectiveOpen,   // opens a string of a preprocessor line (#include "x.h")
  DirectiveClose,  // closes it
};

struct Quote {
  size_t pos;
  QuoteRole role;
};

// Every double quote of a pane text (CR LF breaks) with the role the reader gives it.
std::vector<Quote> ClassifyQuotes(std::string_view header);
