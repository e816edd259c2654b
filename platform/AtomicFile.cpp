#include "AtomicFile.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Scratch files are named like mkstemp's: "SCORES.DAT.Ab12Cd". Older saves made
// them that way too, so their leftovers are recognised.
constexpr std::size_t ScratchSuffix = 6;
constexpr int NameAttempts = 100;

class TDescriptor {
public:
    explicit TDescriptor(int fd) : fd_(fd) {}
    ~TDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

TReplaceOutcome OutcomeOf(int error) {
    return error == EACCES || error == EPERM || error == EROFS ? TReplaceOutcome::FolderRefused
                                                               : TReplaceOutcome::Failed;
}

bool IsScratchName(std::string_view entry, std::string_view name) {
    if (entry.size() != name.size() + 1 + ScratchSuffix || !entry.starts_with(name) ||
        entry[name.size()] != '.') {
        return false;
    }
    for (const char c : entry.substr(name.size() + 1)) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
    }
    return true;
}

std::string ScratchName(const std::string& name) {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char noise[ScratchSuffix] = {};
    if (::getrandom(noise, sizeof noise, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof noise)) {
        // No entropy yet: the clock will do, a name already taken is tried again.
        auto ticks = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned char& byte : noise) {
            byte = static_cast<unsigned char>(ticks);
            ticks = ticks * 6364136223846793005ULL + 1442695040888963407ULL;
        }
    }
    std::string scratch = name + ".";
    for (const unsigned char byte : noise) {
        scratch.push_back(Letters[byte % (sizeof Letters - 1)]);
    }
    return scratch;
}

// The lock every save holds on the folder while it clears away stale scratch
// files and while it creates and locks its own: without it one game's clean-up
// could take another game's scratch file between its creation and its lock.
// Where the folder cannot be locked, nothing is cleared away.
class TFolderLock {
public:
    TFolderLock(int folder, bool wait) : folder_(folder) {
        held_ = ::flock(folder, LOCK_EX | (wait ? 0 : LOCK_NB)) == 0;
    }
    ~TFolderLock() {
        if (held_) {
            ::flock(folder_, LOCK_UN);
        }
    }
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;
    bool Held() const { return held_; }

private:
    int folder_;
    bool held_ = false;
};

// Removes the scratch files of saves that were killed before their rename; the
// folder lock is held. A save still running holds its scratch file locked, so it
// is left alone; so is anything that is not a plain file of our own.
void RemoveStaleScratchFilesLocked(int folder, const std::string& name) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (entries == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        struct stat seen {};
        if (!IsScratchName(entry->d_name, name) ||
            ::fstatat(folder, entry->d_name, &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(seen.st_mode) || seen.st_uid != ::geteuid()) {
            continue;
        }
        const TDescriptor file(
            ::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened {};
        if (file.Get() >= 0 && ::fstat(file.Get(), &opened) == 0 && opened.st_ino == seen.st_ino &&
            opened.st_dev == seen.st_dev && ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(entries);
}

struct TSplitPath {
    std::string Folder;
    std::string Name;
};

TSplitPath Split(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The new file: unnamed until it is whole where the file system allows that, so
// a save killed while writing leaves nothing; otherwise named from the start.
// Locked from birth until closed, so no other save takes it for a leftover.
class TScratchFile {
public:
    TScratchFile(int folder, const std::string& name, const TScratchSeams& seams)
        : folder_(folder), name_(name) {
        fd_ = seams.UnnamedFiles ? ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600) : -1;
        const bool unnamedRefused =
            !seams.UnnamedFiles || errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
        if (fd_ < 0 && unnamedRefused) {
            for (int attempt = 0; attempt < NameAttempts; ++attempt) {
                scratch_ = ScratchName(name);
                fd_ = ::openat(folder, scratch_.c_str(),
                               O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
                if (fd_ >= 0 || errno != EEXIST) {
                    break;
                }
            }
            if (fd_ < 0) {
                scratch_.clear();
            } else if (seams.AfterNamedScratchCreated) {
                seams.AfterNamedScratchCreated();
            }
        }
        error_ = fd_ < 0 ? errno : 0;
        if (fd_ >= 0) {
            ::flock(fd_, LOCK_EX);
        }
    }
    ~TScratchFile() {
        if (!scratch_.empty()) {
            ::unlinkat(folder_, scratch_.c_str(), 0);
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;

    int Fd() const { return fd_; }
    int Error() const { return error_; }

    bool Write(std::string_view bytes, mode_t mode) {
        std::size_t done = 0;
        bool whole = ::fchmod(fd_, mode) == 0;
        while (whole && done < bytes.size()) {
            const ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            whole = put > 0;
            done += whole ? static_cast<std::size_t>(put) : 0;
        }
        return whole && ::fsync(fd_) == 0;
    }

    // Gives an unnamed file its scratch name; errno tells why not.
    bool Name() {
        if (!scratch_.empty()) {
            return true;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < NameAttempts; ++attempt) {
            const std::string scratch = ScratchName(name_);
            if (::linkat(AT_FDCWD, self.c_str(), folder_, scratch.c_str(), AT_SYMLINK_FOLLOW) ==
                    0 ||
                (errno == ENOENT &&
                 ::linkat(fd_, "", folder_, scratch.c_str(), AT_EMPTY_PATH) == 0)) {
                scratch_ = scratch;
                return true;
            }
            if (errno != EEXIST) {
                return false;
            }
        }
        return false;
    }

    // Renames the scratch file over name; errno tells why not.
    bool Commit() {
        if (::renameat(folder_, scratch_.c_str(), folder_, name_.c_str()) != 0) {
            return false;
        }
        scratch_.clear();
        return true;
    }

private:
    int folder_;
    std::string name_;
    std::string scratch_; // empty while unnamed
    int fd_ = -1;
    int error_ = 0;
};

} // namespace

void RemoveStaleScratchFiles(const std::string& path) {
    const TSplitPath split = Split(path);
    const TDescriptor folder(::open(split.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) {
        const TFolderLock lock(folder.Get(), false);
        if (lock.Held()) {
            RemoveStaleScratchFilesLocked(folder.Get(), split.Name);
        }
    }
}

TReplaceOutcome ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t mode,
                                      const TScratchSeams& seams) {
    const TSplitPath split = Split(path);
    const TDescriptor folder(::open(split.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) {
        return OutcomeOf(errno);
    }
    std::optional<TScratchFile> created;
    {
        // Other saves wait here only while this one clears away and creates.
        const TFolderLock lock(folder.Get(), true);
        if (lock.Held()) {
            RemoveStaleScratchFilesLocked(folder.Get(), split.Name);
        }
        created.emplace(folder.Get(), split.Name, seams);
    }
    TScratchFile& scratch = *created;
    if (scratch.Fd() < 0) {
        return OutcomeOf(scratch.Error());
    }
    if (!scratch.Write(bytes, mode)) {
        return TReplaceOutcome::Failed;
    }
    if (!scratch.Name() || !scratch.Commit()) {
        return OutcomeOf(errno);
    }
    // The rename lives in the folder: flushed, it survives a power cut. A file
    // system that cannot flush folders says EINVAL.
    if (::fsync(folder.Get()) != 0 && errno != EINVAL) {
        return TReplaceOutcome::Failed;
    }
    return TReplaceOutcome::Replaced;
}
