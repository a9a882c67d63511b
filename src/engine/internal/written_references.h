// References as a script writes them, the forms the merge passes over included: a
// name the merge knows in any letter case, blanks around the bracket and the index, a
// leading zero, and names beginning with DLG_TEXT that the header does not declare.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// A reference as written: a name the merge knows (DLG_TEXT or the declared one) in any
// letter case, with blanks around the bracket and the index allowed, so that the forms
// the merge passes over are found too; or, written exactly, a name that begins with
// DLG_TEXT and that the header does not declare.
struct WrittenReference {
  size_t pos = 0, length = 0;
  std::string_view name;  // the name the merge would need: DLG_TEXT or the declared one
  std::string_view digits;
  bool exactCase = true, blanks = false, undeclared = false;
  bool untakenName = false;  // by a declared name too long for the merge to take
  size_t index = 0;          // saturates at SIZE_MAX
  bool Canonical() const {
    return exactCase && !blanks && !undeclared && !untakenName &&
           (digits.size() == 1 || digits[0] != '0');
  }
};

// The references in text, in order; only those the merge replaces as written (exact
// letter case, no blanks) when canonicalOnly is set. `declared` is the header's own
// name besides DLG_TEXT, or empty.
std::vector<WrittenReference> FindWrittenReferences(std::string_view text,
                                                    std::string_view declared, bool canonicalOnly);
