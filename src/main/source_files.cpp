// Loading the code and header files into their panes, chosen in the open dialog or
// named on the command line, and saving the merged pane: the window's file commands,
// with the dialogs' filters.
#include "main/source_files.h"

#include "_4str32/exceptions.h"
#include "engine/header_search.h"
#include "engine/safe_save.h"
#include "main/main_core.h"
#include "main/program_info.h"
#include "platform/paths.h"

// The second label of both open-dialog filters lacks its closing parenthesis: that is
// how users have always seen it, so it stays.
const char* const kCodeFileFilter = "code files (*.c)|*.c|all files (*.*|*.*";
const char* const kHeaderFileFilter = "header files (*.h)|*.h|all files (*.*|*.*";
const char* const kSaveFileFilter = "code files (*.c)|*.c|all files (*.*)|*.*";
const char* const kSaveDefaultExt = "c";

void TMainCore::SetUpDialogs() {
  SaveDialog().SetFilter(kSaveFileFilter);
  SaveDialog().SetDefaultExt(kSaveDefaultExt);
}

void TMainCore::LoadCodeFile() {
  OpenDialog().SetFilter(kCodeFileFilter);
  if (!OpenDialog().Execute()) return;
  LoadCodeFileNamed(OpenDialog().FileName());
}

void TMainCore::LoadCodeFileNamed(const std::string& codeFile) {
  SaveDialog().SetInitialDir(platform::FolderOf(codeFile));
  SaveDialog().SetFileName(codeFile);

  m4CodeFile.LoadText(codeFile);
  Log(" Load code file :");
  Log("    " + codeFile);

  const std::string headerFile = HeaderSearch(headerFolders).Find(codeFile);
  if (headerFile.empty()) {
    // Merging now would take another script's texts: say so.
    Log(" No corresponding header file found; the header pane keeps its text");
    return;
  }
  m4HeaderFile.LoadText(headerFile);
  Log(" Assume that corresponding header file is also to be loaded :");
  Log("    " + headerFile);
}

void TMainCore::LoadHeaderFile() {
  OpenDialog().SetFilter(kHeaderFileFilter);
  if (!OpenDialog().Execute()) return;
  LoadHeaderFileNamed(OpenDialog().FileName());
}

void TMainCore::LoadHeaderFileNamed(const std::string& headerFile) {
  SaveDialog().SetInitialDir(platform::FolderOf(headerFile));

  m4HeaderFile.LoadText(headerFile);
  Log(" Load header file :");
  Log("    " + headerFile);
}

void TMainCore::OpenFileArguments(const std::vector<std::string>& args) {
  for (const std::string& arg : WindowFileArguments(args)) {
    const std::string file = platform::AbsolutePath(arg, startDir);
    const bool header = IsHeaderFileName(file);
    // The open dialog is left as a choice of this file in it would leave it.
    OpenDialog().SetFilter(header ? kHeaderFileFilter : kCodeFileFilter);
    OpenDialog().SetFileName(file);
    RunCommand([&] { header ? LoadHeaderFileNamed(file) : LoadCodeFileNamed(file); });
  }
}

void TMainCore::SaveMergedFile() {
  SetUpDialogs();
  if (!SaveDialog().Execute()) return;
  const std::string target = SaveDialog().FileName();
  OpenDialog().SetInitialDir(platform::FolderOf(target));

  // The merged text goes to a new file first; only once it is complete and durable is
  // the target renamed to its backup name and the new file put in its place.
  const SaveResult saved = SaveFileSafely(target, m4MergedFile.GetWholeText(), Clock().Now());
  const std::string unchanged = target + " is unchanged.";
  using F = SaveResult::Failure;
  switch (saved.failure) {
    case F::None:
    case F::FolderSync:  // the file is in place; the folder entry follows on its own
      break;
    case F::Create:
    case F::NotAFile:
      throw Exception(EFCreateError(target).Message(), unchanged);
    case F::Write:
      throw Exception(EWriteError().Message(), unchanged);
    case F::Backup:
      throw Exception(saved.detail, unchanged);
    case F::DanglingLink:
      throw Exception(target + " is a link to " + saved.detail + ", which does not exist",
                      unchanged);
    case F::Replace:
      throw Exception(
          EFCreateError(target).Message(),
          saved.backup.empty() ? unchanged : "Its old content is kept as " + saved.backup + ".");
  }

  Log(" Save merged file :");
  Log("    " + target);
}
