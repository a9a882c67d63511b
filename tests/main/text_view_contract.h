// What every text view owes the panes, as one typed GoogleTest suite: a pane on the view
// gives back exactly the bytes it was given (CR LF breaks, cut at the first NUL, any
// byte in any encoding), also after the view's own control has shown them and been
// edited; one change notice per change, seen after the change is in place; the line
// model; and the capacity, refused without a change.
//
// A view's test program instantiates the suite with a type that makes its views:
//
//   struct Views {
//     // A view of that capacity, shown where the view has a window of its own.
//     static std::unique_ptr<TextView> Make(size_t capacity);
//     // Lets the view's control take in its whole text (a window's event loop).
//     static void Settle(TextView& view);
//     // Stands for an edit by the user that leaves the text as it was, so that the
//     // view reads its bytes back from its control.
//     static void EditInPlace(TextView& view);
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TextViewContract, Views);
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "_4str32/exceptions.h"
#include "main/text_pane.h"
#include "main/text_view.h"

template <class Views>
class TextViewContract : public ::testing::Test {
 protected:
  // A pane on a fresh view of `capacity` that counts its change notices and records
  // the text each notice saw.
  TextPane& Pane(size_t capacity = kDefaultTextCapacity) {
    view_ = Views::Make(capacity);
    pane_ = std::make_unique<TextPane>(*view_);
    pane_->SetOnChange([this] {
      ++changes_;
      seen_ = pane_->GetWholeText();
    });
    return *pane_;
  }
  void Settle() { Views::Settle(*view_); }
  void EditInPlace() { Views::EditInPlace(*view_); }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (size_t i = 0; i < pane_->LineCount(); ++i) lines.push_back(pane_->LineAt(i));
    return lines;
  }

  std::unique_ptr<TextView> view_;
  std::unique_ptr<TextPane> pane_;
  int changes_ = 0;
  std::string seen_;
};

TYPED_TEST_SUITE_P(TextViewContract);

namespace text_view_contract {

using namespace std::string_literals;

// Every byte but CR, LF and NUL, once.
inline std::string EveryOtherByte() {
  std::string s;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') s += static_cast<char>(b);
  }
  return s;
}

struct BytesCase {
  const char* what;
  std::string given;
  std::string kept;
};

inline std::vector<BytesCase> BytesCases() {
  return {
      {"empty", "", ""},
      {"UTF-8 beyond ASCII", "Grüße, Привет, 日本\r\n", "Grüße, Привет, 日本\r\n"},
      {"Windows-1252 bytes",
       "Gr\xfc\xdf"
       "e\r\n\xe4\xf6\xfc",
       "Gr\xfc\xdf"
       "e\r\n\xe4\xf6\xfc"},
      {"UTF-8 and legacy lines mixed", "caf\xc3\xa9\r\ncaf\xe9\r\n", "caf\xc3\xa9\r\ncaf\xe9\r\n"},
      {"a leading byte-order mark", "\xef\xbb\xbfx\r\n", "\xef\xbb\xbfx\r\n"},
      {"two leading byte-order marks", "\xef\xbb\xbf\xef\xbb\xbfx", "\xef\xbb\xbf\xef\xbb\xbfx"},
      {"a line of marks after a line", "a\r\n\xef\xbb\xbf\xef\xbb\xbf\xe9",
       "a\r\n\xef\xbb\xbf\xef\xbb\xbf\xe9"},
      {"every byte but breaks and NUL", EveryOtherByte(), EveryOtherByte()},
      {"lone LF, lone CR, LF CR", "a\nb\rc\n\rd", "a\r\nb\r\nc\r\n\r\nd"},
      {"cut at the first NUL", "kept\r\n\0dropped"s, "kept\r\n"},
      {"no break at the end", "one\r\ntwo", "one\r\ntwo"},
      {"only breaks", "\r\n\r\n\r\n", "\r\n\r\n\r\n"},
      {"a tab and controls", "\t\x01\x1f\x7f", "\t\x01\x1f\x7f"},
  };
}

}  // namespace text_view_contract

TYPED_TEST_P(TextViewContract, GivesBackTheBytesItWasGiven) {
  for (const auto& c : text_view_contract::BytesCases()) {
    SCOPED_TRACE(c.what);
    TextPane& pane = this->Pane();
    pane.SetWholeText(c.given);
    EXPECT_EQ(pane.GetWholeText(), c.kept);
    this->Settle();
    EXPECT_EQ(pane.GetWholeText(), c.kept) << "after the control took the text in";
    this->EditInPlace();
    EXPECT_EQ(pane.GetWholeText(), c.kept) << "read back from the control after an edit";
  }
}

TYPED_TEST_P(TextViewContract, AppendedLinesKeepTheirBytes) {
  TextPane& pane = this->Pane();
  pane.AddLine("caf\xc3\xa9");
  pane.AddLine("caf\xe9");
  pane.AddLine("\xef\xbb\xbfmark");
  this->Settle();
  this->EditInPlace();
  EXPECT_EQ(pane.GetWholeText(), "caf\xc3\xa9\r\ncaf\xe9\r\n\xef\xbb\xbfmark\r\n");
}

TYPED_TEST_P(TextViewContract, OneNoticePerChangeSeenOnceInPlace) {
  using namespace std::string_literals;
  TextPane& pane = this->Pane();
  pane.SetWholeText("one\ntwo");
  EXPECT_EQ(this->changes_, 1);
  EXPECT_EQ(this->seen_, "one\r\ntwo");
  pane.SetWholeText("one\r\ntwo");       // equal once normalised: no change
  pane.SetWholeText("one\rtwo\0tail"s);  // equal once normalised and cut
  EXPECT_EQ(this->changes_, 1);
  pane.AddLine("three\r\nfour");  // several lines, one change
  EXPECT_EQ(this->changes_, 2);
  EXPECT_EQ(this->seen_, "one\r\ntwo\r\nthree\r\nfour");  // after an open end
  pane.ClearText();
  EXPECT_EQ(this->changes_, 3);
  EXPECT_EQ(this->seen_, "");
  pane.ClearText();  // already empty
  EXPECT_EQ(this->changes_, 3);
}

TYPED_TEST_P(TextViewContract, LinesArePiecesBetweenCrLfButNotAFinalEmptyOne) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"word", {"word"}},
      {"word\r\n", {"word"}},
      {"\r\n", {""}},
      {"a\r\n\r\n", {"a", ""}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    this->Pane().SetWholeText(c.text);
    this->Settle();
    EXPECT_EQ(this->Lines(), c.lines);
  }
  TextPane& pane = this->Pane();
  pane.SetWholeText(std::string(5000, 'x') + "\r\n" + std::string(4096, 'y') + "\r\nshort");
  EXPECT_EQ(pane.LineAt(0), std::string(4096, 'x'));  // at most 4096 characters
  EXPECT_EQ(pane.LineAt(1), std::string(4096, 'y'));
  EXPECT_EQ(pane.LineAt(2), "short");
}

TYPED_TEST_P(TextViewContract, AddLineEndsTheLineBeforeOrItsOwn) {
  using namespace std::string_literals;
  TextPane& pane = this->Pane();
  pane.AddLine("first");
  EXPECT_EQ(pane.GetWholeText(), "first\r\n");
  pane.SetWholeText("open");
  pane.AddLine("next");
  pane.AddLine("a\0hidden"s);
  EXPECT_EQ(pane.GetWholeText(), "open\r\nnext\r\na");  // the break goes before
  EXPECT_EQ(this->Lines(), (std::vector<std::string>{"open", "next", "a"}));
}

TYPED_TEST_P(TextViewContract, OverTheCapacityNothingChanges) {
  using namespace std::string_literals;
  TextPane& pane = this->Pane(8);
  pane.SetWholeText("12345678");  // exactly the capacity
  ASSERT_EQ(this->changes_, 1);
  const struct {
    const char* what;
    std::function<void()> op;
  } cases[] = {
      {"longer text", [&] { pane.SetWholeText("123456789"); }},
      {"grows by normalising", [&] { pane.SetWholeText("1\n2\n3\n4\n"); }},
      {"a line longer than the pane", [&] { pane.AddLine("1234567"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(c.op(), EMemoCapacity);
    EXPECT_EQ(pane.GetWholeText(), "12345678");
    EXPECT_EQ(this->changes_, 1);
  }
  // Cut at its NUL the text fits.
  pane.SetWholeText("abc\0"s + std::string(100, 'z'));
  EXPECT_EQ(pane.GetWholeText(), "abc");
  try {
    pane.SetWholeText(std::string(9, 'x'));
    ADD_FAILURE() << "no EMemoCapacity";
  } catch (const EMemoCapacity& e) {
    EXPECT_STREQ(e.what(), "Text exceeds memo capacity");
  }
  // A full pane drops its oldest whole lines for a new one.
  pane.SetWholeText("aa\r\nbb\r\n");
  pane.AddLine("cc");
  EXPECT_EQ(pane.GetWholeText(), "bb\r\ncc\r\n");
  this->Settle();
  EXPECT_EQ(this->Lines(), (std::vector<std::string>{"bb", "cc"}));
}

REGISTER_TYPED_TEST_SUITE_P(TextViewContract, GivesBackTheBytesItWasGiven,
                            AppendedLinesKeepTheirBytes, OneNoticePerChangeSeenOnceInPlace,
                            LinesArePiecesBetweenCrLfButNotAFinalEmptyOne,
                            AddLineEndsTheLineBeforeOrItsOwn, OverTheCapacityNothingChanges);
