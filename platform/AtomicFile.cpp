#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, bool privateFile) {
    std::string scratch = path + ".XXXXXX";
    const int fd = ::mkostemp(scratch.data(), O_CLOEXEC); // O_EXCL, mode 0600
    if (fd < 0) {
        return false;
    }
    bool whole = privateFile || ::fchmod(fd, 0644) == 0;
    std::size_t done = 0;
    while (whole && done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        whole = put > 0;
        done += whole ? static_cast<std::size_t>(put) : 0;
    }
    whole = whole && ::fsync(fd) == 0;
    whole = ::close(fd) == 0 && whole;
    whole = whole && std::rename(scratch.c_str(), path.c_str()) == 0;
    if (!whole) {
        ::unlink(scratch.c_str());
    }
    return whole;
}
