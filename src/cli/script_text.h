// A script file's bytes as the merge takes them, and the merged text as it is written,
// in the forms the command line offers: line breaks CR LF (as the window), LF or as
// they are; bytes as they are, or converted to UTF-8 from a legacy code page.
#pragma once

#include <string>
#include <string_view>

#include "cli/options.h"

struct TextForm {
  LineBreaks lineBreaks = LineBreaks::CrLf;
  OutputEncoding encoding = OutputEncoding::Keep;
  int codePage = 1252;  // of inputs that are not UTF-8, when converting
};

// Cut at the first NUL; converted to UTF-8 when asked and not UTF-8 already; line
// breaks made CR LF unless they are kept. A text that needs none of it is returned
// without a copy.
std::string InputText(std::string bytes, const TextForm& form);

// The text with every CR LF pair made LF.
std::string WithLfBreaks(std::string_view text);
