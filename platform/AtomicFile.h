#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

enum class TReplaceOutcome {
    Replaced,
    // The folder allows no new file, or the old file may not be replaced there
    // (permissions, a read-only file system); the old file may still be writable.
    FolderRefused,
    // Anything else: a full disk, a file size limit, an I/O error.
    Failed,
};

// Replaces the file at path with bytes, or leaves it as it was: the bytes go to
// a new file beside it (unnamed while it is written, where the file system
// allows it), which is written whole with the given mode, flushed to disk and
// then renamed over path; the folder is flushed too, so the new name survives a
// power cut. Every step is checked (a short write, a full disk, a file size
// limit). A symbolic link at path is replaced, never followed. On failure the
// new file is removed.
//
// A save killed half-way can leave its named scratch file behind; each call
// first removes such files of ours that no running save holds locked.
//
// Qt's QSaveFile is not used: Qt 6.4 commits after a partial write.
//
// seams: for tests, a file system without unnamed files, and a moment between
// a named scratch file's creation and its lock.
struct TScratchSeams {
    bool UnnamedFiles = true;
    std::function<void()> AfterNamedScratchCreated;
};
TReplaceOutcome ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t mode,
                                      const TScratchSeams& seams = {});

// What every save beside path does first: removes the scratch files of saves
// that were killed, and none that a running save owns. A save creates and locks
// its scratch file while it holds a lock on the folder, which this takes too, or
// else leaves the files for a later save.
void RemoveStaleScratchFiles(const std::string& path);
