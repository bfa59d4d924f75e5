// Safe writing of result files: exclusive temporary file, sync, rename; links and devices kept.
#include "app/batch/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "app/batch/batch_common.h"

namespace {

bool write_all(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool same_file(const std::string& a, const std::string& b) {
    if (a == b) return true;
    struct stat sa {
    }, sb{};
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool write_output_file(const std::string& path, const std::string& text, std::string& error) {
    const std::string shown = batch_shown(path);
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        error = "cannot write '" + shown + "': a folder";
        return false;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        // A pipe, a terminal, a device: written into, never replaced.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        const bool ok = fd >= 0 && write_all(fd, text);
        const int saved = errno;
        if (fd >= 0) ::close(fd);
        if (!ok) error = "cannot write '" + shown + "': " + std::strerror(saved);
        return ok;
    }
    // A link is followed: its target is replaced and the link stays.
    std::string target = path;
    if (exists) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved)) target = resolved;
    }
    const mode_t mode = exists ? (st.st_mode & 07777) : 0666;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = "cannot write '" + shown + "': " + std::strerror(errno);
        return false;
    }
    // The umask narrows a new file's mode; an existing file's mode is kept exactly.
    if (exists) fchmod(fd, mode);
    bool ok = write_all(fd, text) && ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        error = "cannot write '" + shown + "': " + std::strerror(saved);
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
