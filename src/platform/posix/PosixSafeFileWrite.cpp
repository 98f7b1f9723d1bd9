// Atomic replacement through rename(2), which replaces the target in one step.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/SafeFileWrite.h"

namespace qel {
namespace {

bool WriteAll(int fd, std::string_view contents) {
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool Fail(std::string* reason, const std::string& what) {
    if (reason) *reason = what + ": " + std::strerror(errno);
    return false;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* reason) {
    const std::string temporary = path + ".saving";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(reason, "cannot create " + temporary);
    bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && written) {
        saved = errno;
        written = false;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        errno = saved;
        return Fail(reason, "cannot write " + temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        return Fail(reason, "cannot replace " + path);
    }
    return true;
}

}  // namespace qel
