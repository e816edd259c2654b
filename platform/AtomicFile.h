#pragma once

#include <string>
#include <string_view>

// Replaces the file at path with bytes, or leaves it as it was: the bytes go to
// a new file beside it, which is written whole, flushed to disk and then renamed
// over path. Every step is checked (a short write, a full disk, a file size
// limit). A symbolic link at path is replaced, never followed. Returns false and
// removes the new file when any step fails.
//
// Qt's QSaveFile is not used: Qt 6.4 commits after a partial write.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, bool privateFile);
