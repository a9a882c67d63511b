// The window's file commands (Load code file, Load header file, Save merged file are
// TMainCore's, defined in source_files.cpp): the filters and extension their dialogs
// show.
#pragma once

// The filters of the open dialog and of the save dialog, as the user sees them.
extern const char* const kCodeFileFilter;    // "code files (*.c)|*.c|all files (*.*|*.*"
extern const char* const kHeaderFileFilter;  // "header files (*.h)|*.h|all files (*.*|*.*"
extern const char* const kSaveFileFilter;    // "code files (*.c)|*.c|all files (*.*)|*.*"
extern const char* const kSaveDefaultExt;    // "c"
