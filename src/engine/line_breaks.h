// The line-break rule of the panes, the merge and the checks: every text is taken
// with CR LF line breaks and without anything from its first NUL on, as the panes
// hold it.
#pragma once

#include <string>
#include <string_view>

// The text up to its first NUL.
std::string_view CutAtNul(std::string_view text);

// Makes every line break CR LF (CR LF stays, lone CR and lone LF become CR LF, so LF
// CR and CR CR LF count as two) and cuts the text at its first NUL.
std::string NormalizeLineBreaks(std::string_view text);
// Whether NormalizeLineBreaks would leave text as it is: no NUL, and every CR and LF
// part of a CR LF pair. One pass, 64 bytes at a time.
bool IsNormalPaneText(std::string_view text);
