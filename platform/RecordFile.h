#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class TFileAccess { ReadOnly, ReadWrite };

// A file of fixed-size records numbered from 0; record n starts at byte
// n * recordSize. Every failure raises EInOutError naming the file, and a read
// that cannot deliver a whole record (a truncated file) is a failure too.
class TRecordFile {
public:
    TRecordFile(std::string path, std::size_t recordSize);
    ~TRecordFile();
    TRecordFile(const TRecordFile&) = delete;
    TRecordFile& operator=(const TRecordFile&) = delete;

    static bool FileExists(const std::string& path);
    // A regular file that this process can open for reading now.
    static bool FileReadable(const std::string& path);

    // Names the file the next open or create works on; only while closed.
    void Assign(std::string path);

    // For a file in a folder other users share: opening never follows a
    // symbolic link, and a file that belongs to another user is refused.
    void SetPrivate(bool isPrivate) { private_ = isPrivate; }
    // Opening and creating never follow a symbolic link at the path: a link
    // there is a failure (ELOOP), whether it points somewhere or nowhere.
    void SetFollowLinks(bool follow) { followLinks_ = follow; }

    void OpenExisting(TFileAccess access);
    // Creates the file only when no file of that name exists: an existing file
    // is never replaced.
    void CreateNew();
    void CreateOrTruncate();
    // Cuts an open file to its first records (empties it by default).
    void Truncate(std::int64_t records = 0);
    // Cuts or extends an open file to a length in bytes.
    void Resize(std::int64_t bytes);
    // Flushes what was written to the disk.
    void Flush();
    void Close();

    void Seek(std::int64_t record);
    void Read(void* record);
    // Reads what there is of the current record: all of it, or less at the
    // end of the file. Returns the bytes read.
    std::size_t ReadAvailable(void* record);
    void Write(const void* record);
    bool Eof() const;
    // Whole records in the file now; a partial record at the end is not counted.
    std::int64_t RecordCount() const;
    // The file's length in bytes.
    std::int64_t FileSize() const;

    // The permission bits of the open file.
    unsigned Mode() const;

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    std::size_t RecordSize() const { return recordSize_; }

private:
    void OpenWithFlags(int flags, const char* what);
    [[noreturn]] void Fail(int errorCode, const std::string& what) const;

    std::string path_;
    std::size_t recordSize_;
    int fd_ = -1;
    std::int64_t position_ = 0;
    bool private_ = false;
    bool followLinks_ = true;
};
