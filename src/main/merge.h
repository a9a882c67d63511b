// The merge of a dialog script: the dialog texts of a header text and the code text
// with every reference DLG_TEXT[n] replaced by text n in double quotes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The dialog texts of a header text, cut by TIncTok at its double quotes: the 2nd,
// 4th, 6th ... pieces, numbered from 0.
std::vector<std::string> DialogTexts(const std::string& headerText);

// The reference to text n: "DLG_TEXT[" n "]".
std::string DialogTextReference(size_t n);

// The length of the merged text, saturating at SIZE_MAX; computed without building it.
size_t MergedLength(std::string_view codeText, const std::vector<std::string>& texts);

// The code text after one SubstituteAll pass per dialog text, in ascending order, each
// over the whole current text; built in time linear in code, texts and result.
std::string MergeTexts(std::string_view codeText, const std::vector<std::string>& texts);

// MergeTexts when the result is at most maxLength bytes long; nullopt, with nothing
// built, otherwise.
std::optional<std::string> MergeTextsWithin(std::string_view codeText,
                                            const std::vector<std::string>& texts,
                                            size_t maxLength);
