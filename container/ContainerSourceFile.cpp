#include "ContainerSourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

namespace mirado {
namespace {

// Files generated on reading: their size is 0 or a guess. Such file systems have no device of their
// own, so a file on a disk is told apart without asking the file system.
bool isGeneratedFileSystem(int fd, const struct stat& info) {
    if (major(info.st_dev) != 0) return false;
    constexpr long kProc = 0x9fa0, kSysfs = 0x62656572;
    struct statfs where {};
    return ::fstatfs(fd, &where) == 0 && (long(where.f_type) == kProc || long(where.f_type) == kSysfs);
}

}  // namespace

ContainerSourceFile::~ContainerSourceFile() {
    if (fd_ >= 0) ::close(fd_);
}

ContainerSourceFile::Refusal ContainerSourceFile::open(const std::filesystem::path& path) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer that may never come.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        if (error_ == ENOENT || error_ == ENOTDIR) return Refusal::Missing;
        // A socket cannot be opened at all; tell it by what it is, not by open's answer.
        struct stat named {};
        if (::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
            error_ = S_ISDIR(named.st_mode) ? EISDIR : 0;
            return Refusal::NotAFile;
        }
        return Refusal::Unreadable;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        error_ = errno;
        return Refusal::Unreadable;
    }
    if (!S_ISREG(info.st_mode) || isGeneratedFileSystem(fd_, info)) {
        error_ = S_ISDIR(info.st_mode) ? EISDIR : 0;
        return Refusal::NotAFile;
    }
    size_ = std::uint64_t(info.st_size);
    return Refusal::None;
}

bool ContainerSourceFile::unchangedSinceOpened() {
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || std::uint64_t(info.st_size) != size_) return false;
    // A file that grew between the last read and the fstat above still has a byte to give.
    char probe = 0;
    ssize_t got;
    do {
        got = ::pread(fd_, &probe, 1, off_t(size_));
    } while (got < 0 && errno == EINTR);
    return got == 0;
}

}  // namespace mirado
