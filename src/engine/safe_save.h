// Saving a file so that its old content is never lost and its name never shows a
// half-written file, for the window's Save merged file and for vaskarel-merge alike:
//
//   1. the bytes go to a new file under a short, unique name beside the target, made
//      durable (fsync), with the permission bits and owner of the file it replaces;
//   2. an existing target is renamed to its backup name (MakeBackup);
//   3. the new file is renamed to the target;
//   4. the folder is synced, so both renames are durable.
//
// When step 1 fails nothing else happens: no backup is made, the target keeps its
// bytes, and the new file is removed. A symbolic link as target is followed: the file
// it leads to is backed up and replaced in its own folder, and the link stays a link;
// a link that leads nowhere is refused. A device, a FIFO or a socket is written into
// as it is, with no backup, no new file and no rename, so "-o /dev/stdout" works like
// standard output and /dev/null stays a device.
//
// A caller saving many files may prepare them all first, make the file system durable
// once, and then put each in place (PrepareSave, then CommitSave).
#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"

struct SaveResult {
  enum class Failure {
    None,
    Create,        // the new file (or the device) could not be opened
    Write,         // writing, syncing or closing it failed
    Backup,        // no backup could be made (detail: the reason, naming the target)
    Replace,       // the new file could not take the target's name
    DanglingLink,  // the target is a link that leads nowhere (detail: where it leads)
    NotAFile,      // the target is a folder
    FolderSync,    // in place, but the folder could not be synced
  };
  Failure failure = Failure::None;
  int error = 0;       // the errno of the failing step
  std::string detail;  // see Failure
  std::string file;    // the file written: the target, or what its link leads to
  std::string backup;  // the backup name used; empty when no file was replaced

  bool ok() const { return failure == Failure::None; }
};

// A save after step 1: the bytes are in a new file beside the target (or, for a
// device, already written); result tells a failure.
struct PreparedSave {
  std::string target;
  std::string temporary;  // the new file; empty when written in place or failed
  SaveResult result;
};

// Step 1; `sync` makes the new file durable on its own (a caller that syncs the whole
// file system afterwards passes false).
PreparedSave PrepareSave(const std::string& target, std::string_view bytes, bool sync);
// Steps 2 to 4 (step 4 when syncFolder); `when` names the backup. Removes the new file
// when it fails.
SaveResult CommitSave(PreparedSave& save, const platform::DateTime& when, bool syncFolder);
// Removes what PrepareSave left, when the save is not to go on.
void AbandonSave(PreparedSave& save);

// All four steps.
SaveResult SaveFileSafely(const std::string& target, std::string_view bytes,
                          const platform::DateTime& when);

// One line for a failed save, naming the target and the reason, as vaskarel-merge
// reports it.
std::string SaveFailureLine(const std::string& target, const SaveResult& result);

// target + "." + the stamp "yyyy-mm-dd-hh-nn-ss" of t.
std::string BackupNameFor(const std::string& target, const platform::DateTime& t);

// Renames an existing target to its backup name, or, when that name is taken, to the
// first free one of backup ".1" ... ".99". Returns the name used. Throws Exception
// naming the target and the reason when no backup can be made; the target is then
// untouched.
std::string MakeBackup(const std::string& target, const platform::DateTime& t);
