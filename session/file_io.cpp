// File I/O of the shared layer, on POSIX calls so that the kind of file,
// every short write and every error code can be checked.
#include "session/file_io.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "host/file_overlay.h"

namespace {

std::string system_reason(int number) { return std::strerror(number); }

// "" for a regular file, else why a file of this kind is not read.
std::string kind_problem(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return "is a folder, not a regular file";
    if (S_ISFIFO(mode)) return "is a FIFO (named pipe), not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
    if (S_ISSOCK(mode)) return "is a socket, not a regular file";
    return "is not a regular file";
}

// Closes fd on every path out of a function.
struct FILE_DESCRIPTOR {
    int fd;
    explicit FILE_DESCRIPTOR(int opened) : fd(opened) {}
    FILE_DESCRIPTOR(const FILE_DESCRIPTOR&) = delete;
    FILE_DESCRIPTOR& operator=(const FILE_DESCRIPTOR&) = delete;
    ~FILE_DESCRIPTOR() {
        if (fd >= 0) ::close(fd);
    }
    // Closes now, for writes whose close can report an error; errno or 0.
    int close_now() {
        const int result = ::close(fd);
        fd = -1;
        return result == 0 ? 0 : errno;
    }
};

// Reads fd to its end, at most limit bytes; errno of a failed read, 0 on
// success, EFBIG when there is more than limit.
int read_all(int fd, std::string& text, std::size_t limit) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        if (text.size() + static_cast<std::size_t>(got) > limit) return EFBIG;
        text.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

// Writes all of text to fd, across short writes; errno of the failure or 0.
int write_all(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) return errno;
        if (wrote == 0) return EIO;  // no progress on a regular file: do not spin
        done += static_cast<std::size_t>(wrote);
    }
    return 0;
}

std::string too_large(std::size_t limit) { return "is larger than " + std::to_string(limit) + " bytes"; }

// The path a write goes to: the file a symbolic link leads to, else path.
std::string write_target(const std::string& path) {
    struct stat link;
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;  // a dangling link is replaced by the file
    std::string target(resolved);
    std::free(resolved);
    return target;
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The permission bits a new file gets: 0666 less the process's umask.
mode_t new_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Fills the temporary file fd with text and gives it its final mode;
// "" or the reason.
std::string fill_temporary(FILE_DESCRIPTOR& file, const std::string& text, mode_t mode) {
    if (const int failed = write_all(file.fd, text)) return "cannot be written: " + system_reason(failed);
    if (::fchmod(file.fd, mode) != 0) return "cannot set the permissions: " + system_reason(errno);
    if (::fsync(file.fd) != 0) return "cannot be written: " + system_reason(errno);
    if (const int failed = file.close_now()) return "cannot be written: " + system_reason(failed);
    return "";
}

// Makes a rename in folder durable; a failure here loses nothing already
// visible, so it is not reported.
void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool kova_read_text_file(const std::string& path, std::string& text, std::string& error, std::size_t limit) {
    text.clear();
    // An editor's buffer stands in for the file (host/file_overlay.h).
    if (kova_file_overlay(path, text)) return true;
    struct stat before;
    if (::stat(path.c_str(), &before) != 0) {
        error = "cannot be read: " + system_reason(errno);
        return false;
    }
    // The kind is checked before opening: opening a FIFO for reading waits
    // for a writer.
    if (!(error = kind_problem(before.st_mode)).empty()) return false;
    if (static_cast<unsigned long long>(before.st_size) > limit) {
        error = too_large(limit);
        return false;
    }
    // O_NONBLOCK in case the path was replaced by a FIFO since the stat;
    // fstat checks what was actually opened.
    FILE_DESCRIPTOR file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd < 0) {
        error = "cannot be read: " + system_reason(errno);
        return false;
    }
    struct stat opened;
    if (::fstat(file.fd, &opened) != 0) {
        error = "cannot be read: " + system_reason(errno);
        return false;
    }
    if (!(error = kind_problem(opened.st_mode)).empty()) return false;
    const int failed = read_all(file.fd, text, limit);
    if (failed == 0) return true;
    text.clear();
    error = failed == EFBIG ? too_large(limit) : "cannot be read: " + system_reason(failed);
    return false;
}

bool kova_file_exists(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

bool kova_write_file_atomically(const std::string& path, const std::string& text, std::string& error) {
    const std::string target = write_target(path);
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        error = kind_problem(existing.st_mode);
        return false;
    }
    const std::string folder = folder_of(target);
    std::string temporary = folder + "/" + name_of(target) + ".tmp-XXXXXX";
    std::vector<char> pattern(temporary.begin(), temporary.end());
    pattern.push_back('\0');
    FILE_DESCRIPTOR file(::mkstemp(pattern.data()));
    if (file.fd < 0) {
        error = "cannot create a temporary file in " + folder + ": " + system_reason(errno);
        return false;
    }
    temporary = pattern.data();
    const mode_t mode = exists ? (existing.st_mode & 07777) : new_file_mode();
    error = fill_temporary(file, text, mode);
    if (error.empty() && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = "cannot replace the file: " + system_reason(errno);
    if (!error.empty()) {
        ::unlink(temporary.c_str());
        return false;
    }
    sync_folder(folder);
    return true;
}

void kova_ignore_file_size_signal() { std::signal(SIGXFSZ, SIG_IGN); }
