// The merge of a dialog script: the dialog texts of a header text and the code text
// with every reference to text n replaced by text n in double quotes.
//
// A reference is DLG_TEXT[n] and, when the header declares an array of another name
// before its first double quote (string DLG_TEXT_FT [10] = {), also NAME[n]:
//
//   header  string DLG_TEXT_Q [2] = { "Yes", "No" };
//   code    Say(DLG_TEXT_Q[1]); Say(DLG_TEXT[0]);
//   merged  Say("No"); Say("Yes");
//
// The result is defined by one replacement pass per text, in ascending order, each
// over the whole current text: pass n replaces every DLG_TEXT[n] and then every
// NAME[n]. Texts brought in by a pass are searched by the later passes.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The dialog texts of a header text, cut by TIncTok at its double quotes: the 2nd,
// 4th, 6th ... pieces, numbered from 0.
std::vector<std::string> DialogTexts(const std::string& headerText);

// The array a header declares before its first double quote: the last
// "string NAME [N]" there, blanks and line breaks allowed around NAME and inside the
// brackets. N may be missing, and may have any number of digits.
struct ArrayDeclaration {
  std::string name;
  std::optional<size_t> size;  // N, when it is written and fits a size_t
  std::string sizeText;        // N as written, empty when it is not
  size_t pos = 0;              // where "string" begins
};
std::optional<ArrayDeclaration> DeclaredArray(std::string_view headerText);

// The name by which the code refers to the header's texts besides DLG_TEXT: the
// declared name, or empty when the header declares none or DLG_TEXT itself. A name
// longer than kMaxDeclaredNameLength (engine/identifier.h) is given too: the merge
// leaves its references as they are and counts them as left.
std::string ReferenceNameOf(std::string_view headerText);

// The reference to text n: "DLG_TEXT[" n "]".
std::string DialogTextReference(size_t n);

// Whether a code text holds a reference to some header: DLG_TEXT[, or a name that
// begins with DLG_TEXT directly followed by "[".
bool HoldsDialogReferences(std::string_view codeText);

// A merged text, in memory that was never filled before the merge wrote it.
class MergedText {
 public:
  MergedText() = default;
  MergedText(std::unique_ptr<char[]> bytes, size_t size) : bytes_(std::move(bytes)), size_(size) {}
  std::string_view View() const { return {bytes_.get(), size_}; }
  size_t size() const { return size_; }

 private:
  std::unique_ptr<char[]> bytes_;
  size_t size_ = 0;
};

// One merge of a code text with the texts of its header. Constructing it finds every
// reference once and works out the result's length and counts; nothing is built
// until Build. The code text and the texts must outlive the object.
class DialogMerge {
 public:
  // A referenceName longer than kMaxDeclaredNameLength replaces nothing: its
  // references are left, and counted so.
  DialogMerge(std::string_view codeText, const std::vector<std::string>& texts,
              std::string_view referenceName = {});
  ~DialogMerge();
  DialogMerge(const DialogMerge&) = delete;
  DialogMerge& operator=(const DialogMerge&) = delete;

  // The length of the merged text, saturating at SIZE_MAX: texts that refer to later
  // texts can multiply it beyond any memory.
  size_t Length() const;
  // References replaced, those inside inserted texts counted at every insertion.
  size_t Replaced() const;
  // References left as they are: of a declared name or of a name beginning with
  // DLG_TEXT, well-formed, but without a text the merge puts in their place.
  size_t Left() const;
  // Builds the merged text in time linear in code, texts and result. Throws
  // std::length_error or std::bad_alloc when it cannot exist in memory.
  MergedText Build() const;

 private:
  struct Plan;
  std::unique_ptr<Plan> plan_;
};

// The merged text as a string (for callers that want one).
std::string MergeTexts(std::string_view codeText, const std::vector<std::string>& texts,
                       std::string_view referenceName = {});

// The length of the merged text, saturating at SIZE_MAX; computed without building it.
size_t MergedLength(std::string_view codeText, const std::vector<std::string>& texts,
                    std::string_view referenceName = {});

// The merged text when it is at most maxLength bytes long; nullopt, with nothing
// built, otherwise.
std::optional<MergedText> MergeTextsWithin(std::string_view codeText,
                                           const std::vector<std::string>& texts, size_t maxLength,
                                           std::string_view referenceName = {});
