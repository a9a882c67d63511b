// File-name rules of the source files: the header beside a code file and the
// time-stamped backup of a file about to be replaced.
#pragma once

#include <string>

#include "platform/clock.h"

// The filters of the open dialog and of the save dialog, as the user sees them.
extern const char* const kCodeFileFilter;    // "code files (*.c)|*.c|all files (*.*|*.*"
extern const char* const kHeaderFileFilter;  // "header files (*.h)|*.h|all files (*.*|*.*"
extern const char* const kSaveFileFilter;    // "code files (*.c)|*.c|all files (*.*)|*.*"
extern const char* const kSaveDefaultExt;    // "c"

// The code file's name with the extension of its last component replaced by ".h"
// (".h" appended when that component has no dot).
std::string HeaderFileNameOf(const std::string& codeFile);

// target + "." + the stamp "yyyy-mm-dd-hh-nn-ss" of t.
std::string BackupNameFor(const std::string& target, const platform::DateTime& t);

// Renames an existing target to its backup name, or, when that name is taken, to the
// first free one of backup ".1" ... ".99". Returns the name used. Throws Exception
// naming the target and the reason when no backup can be made; the target is then
// untouched.
std::string MakeBackup(const std::string& target, const platform::DateTime& t);
