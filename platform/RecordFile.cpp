#include "RecordFile.h"

#include "InOutError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TRecordFile::TRecordFile(std::string path, std::size_t recordSize)
    : path_(std::move(path)), recordSize_(recordSize) {}

TRecordFile::~TRecordFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool TRecordFile::FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool TRecordFile::FileReadable(const std::string& path) {
    // Non-blocking, so that a pipe of that name cannot stall the caller.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

void TRecordFile::Assign(std::string path) {
    if (fd_ >= 0) {
        Fail(EBUSY, "cannot rename an open file to " + path);
    }
    path_ = std::move(path);
    position_ = 0;
}

void TRecordFile::Fail(int errorCode, const std::string& what) const {
    std::string message = path_ + ": " + what;
    if (errorCode != 0) {
        message += ": ";
        message += std::strerror(errorCode);
    }
    throw EInOutError(errorCode, message);
}

void TRecordFile::OpenWithFlags(int flags, const char* what) {
    if (fd_ >= 0) {
        Fail(EBUSY, std::string("cannot ") + what + " a file that is already open");
    }
    int fd;
    do {
        fd = ::open(path_.c_str(), flags | O_CLOEXEC | (private_ || !followLinks_ ? O_NOFOLLOW : 0),
                    private_ ? 0600 : 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Fail(errno, std::string("cannot ") + what);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        Fail(code, std::string("cannot ") + what);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        Fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL,
             std::string("cannot ") + what + ", not a regular file");
    }
    if (private_ && info.st_uid != ::geteuid()) {
        ::close(fd);
        Fail(EPERM, std::string("cannot ") + what + ", the file belongs to another user");
    }
    fd_ = fd;
    position_ = 0;
}

void TRecordFile::OpenExisting(TFileAccess access) {
    OpenWithFlags(access == TFileAccess::ReadOnly ? O_RDONLY : O_RDWR, "open");
}

void TRecordFile::CreateNew() {
    OpenWithFlags(O_RDWR | O_CREAT | O_EXCL, "create");
}

void TRecordFile::CreateOrTruncate() {
    // Truncating only once the file is known to be ours: a private file that
    // belongs to someone else is refused untouched.
    OpenWithFlags(O_RDWR | O_CREAT, "create");
    Truncate();
}

void TRecordFile::Truncate(std::int64_t records) {
    if (fd_ < 0) {
        Fail(EBADF, "truncate a closed file");
    }
    if (::ftruncate(fd_, static_cast<off_t>(records * static_cast<std::int64_t>(recordSize_))) !=
        0) {
        Fail(errno, records == 0 ? "cannot empty" : "cannot cut");
    }
    position_ = std::min(position_, records);
}

void TRecordFile::Resize(std::int64_t bytes) {
    if (fd_ < 0) {
        Fail(EBADF, "resize a closed file");
    }
    if (::ftruncate(fd_, static_cast<off_t>(bytes)) != 0) {
        Fail(errno, "cannot resize to " + std::to_string(bytes) + " bytes");
    }
}

void TRecordFile::Flush() {
    if (fd_ < 0) {
        Fail(EBADF, "flush a closed file");
    }
    if (::fsync(fd_) != 0) {
        Fail(errno, "cannot flush");
    }
}

unsigned TRecordFile::Mode() const {
    if (fd_ < 0) {
        Fail(EBADF, "mode of a closed file");
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        Fail(errno, "cannot stat");
    }
    return info.st_mode & 07777;
}

void TRecordFile::Close() {
    if (fd_ < 0) {
        return;
    }
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        Fail(errno, "cannot close");
    }
}

void TRecordFile::Seek(std::int64_t record) {
    if (fd_ < 0) {
        Fail(EBADF, "seek on a closed file");
    }
    if (record < 0) {
        Fail(EINVAL, "seek to record " + std::to_string(record));
    }
    position_ = record;
}

void TRecordFile::Read(void* record) {
    const std::size_t done = ReadAvailable(record);
    if (done < recordSize_) {
        Fail(EIO, "record " + std::to_string(position_ - 1) + " is truncated (" +
                      std::to_string(done) + " of " + std::to_string(recordSize_) + " bytes)");
    }
}

std::size_t TRecordFile::ReadAvailable(void* record) {
    if (fd_ < 0) {
        Fail(EBADF, "read from a closed file");
    }
    auto* out = static_cast<char*>(record);
    const off_t offset = static_cast<off_t>(position_ * static_cast<std::int64_t>(recordSize_));
    std::size_t done = 0;
    while (done < recordSize_) {
        ssize_t got =
            ::pread(fd_, out + done, recordSize_ - done, offset + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(errno, "cannot read record " + std::to_string(position_));
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ++position_;
    return done;
}

void TRecordFile::Write(const void* record) {
    if (fd_ < 0) {
        Fail(EBADF, "write to a closed file");
    }
    const auto* in = static_cast<const char*>(record);
    const off_t offset = static_cast<off_t>(position_ * static_cast<std::int64_t>(recordSize_));
    std::size_t done = 0;
    while (done < recordSize_) {
        ssize_t put =
            ::pwrite(fd_, in + done, recordSize_ - done, offset + static_cast<off_t>(done));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(errno, "cannot write record " + std::to_string(position_));
        }
        done += static_cast<std::size_t>(put);
    }
    ++position_;
}

std::int64_t TRecordFile::FileSize() const {
    if (fd_ < 0) {
        Fail(EBADF, "size of a closed file");
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        Fail(errno, "cannot stat");
    }
    return static_cast<std::int64_t>(info.st_size);
}

bool TRecordFile::Eof() const {
    return position_ * static_cast<std::int64_t>(recordSize_) >= FileSize();
}

std::int64_t TRecordFile::RecordCount() const {
    return FileSize() / static_cast<std::int64_t>(recordSize_);
}
