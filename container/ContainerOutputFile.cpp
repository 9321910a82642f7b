#include "ContainerOutputFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>

namespace mirado {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kTemporaryPrefix = ".mirado-partial-";
constexpr std::string_view kTemporarySuffix = ".pmpk";
constexpr auto kStaleAfter = std::chrono::minutes(10);

std::atomic<unsigned> g_counter{0};

std::string temporaryName(unsigned counter) {
    return std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" + std::to_string(counter) +
           std::string(kTemporarySuffix);
}

// What stands between our prefix and suffix; the caller knows the name has both.
std::string middleOf(const std::string& name) {
    return name.substr(kTemporaryPrefix.size(), name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
}

// The pid in ".mirado-partial-<pid>-<n>.pmpk", or 0 for the names of earlier versions (no pid).
pid_t writerOf(const std::string& name) {
    const std::string middle = middleOf(name);
    const auto dash = middle.find('-');
    if (dash == std::string::npos || dash == 0) return 0;
    return pid_t(std::stol(middle.substr(0, dash)));
}

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// A link in the container's place is written through: the container goes where the link points.
fs::path resolvedTarget(const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    const fs::path resolved = fs::canonical(target, ec);
    return ec ? target : resolved;
}

}  // namespace

ContainerOutputFile::~ContainerOutputFile() { abandon(); }

bool ContainerOutputFile::create(const fs::path& target) {
    abandon();
    target_ = resolvedTarget(target);
    const fs::path folder = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
#ifdef O_TMPFILE
    // The unnamed file is linked in through /proc at the end; without /proc it could not be.
    static const bool canLinkUnnamed = ::access("/proc/self/fd", X_OK) == 0;
    fd_ = canLinkUnnamed ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
    if (!canLinkUnnamed) errno = EOPNOTSUPP;
    if (fd_ >= 0) {
        unnamed_ = true;
        return true;
    }
    // Only a file system without unnamed files falls back to a named one; other errors are the answer.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = folder / temporaryName(g_counter++);
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporary_ = candidate;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    errno = EEXIST;
    return false;
}

bool ContainerOutputFile::closeFile() {
    const int fd = fd_;
    fd_ = -1;
    // A late write error shows up at close on some file systems.
    return fd < 0 || ::close(fd) == 0;
}

bool ContainerOutputFile::failCommit() {
    const int error = errno;
    abandon();
    errno = error;
    return false;
}

bool ContainerOutputFile::keepModeOfReplaced() {
    struct stat replaced {};
    if (::stat(target_.c_str(), &replaced) != 0 || !S_ISREG(replaced.st_mode)) return true;
    // The owner first: changing it may clear the set-id bits that the mode then restores.
    if (::fchown(fd_, replaced.st_uid, replaced.st_gid) != 0) {
        [[maybe_unused]] const int groupOnly = ::fchown(fd_, uid_t(-1), replaced.st_gid);
    }
    return ::fchmod(fd_, replaced.st_mode & 07777) == 0;
}

bool ContainerOutputFile::commit() {
    bool linkedInPlace = false;
    if (unnamed_) {
        // An unnamed file gets its name through /proc (linkat with AT_EMPTY_PATH needs a privilege).
        // Where no container is in place the link is all it takes; an existing one lends its mode and
        // owner first, and is replaced by renaming a hidden link over it, at once.
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        linkedInPlace = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0;
        if (!linkedInPlace) {
            if (errno != EEXIST || !keepModeOfReplaced()) return failCommit();
            const fs::path hidden = target_.parent_path() / temporaryName(g_counter++);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) return failCommit();
            temporary_ = hidden;
        }
    } else if (!keepModeOfReplaced()) {
        return failCommit();
    }
    if (!closeFile()) {
        if (linkedInPlace) ::unlink(target_.c_str());  // in place, but not whole after all
        return failCommit();
    }
    if (!temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) return failCommit();
    temporary_.clear();
    unnamed_ = false;
    return true;
}

void ContainerOutputFile::abandon() {
    closeFile();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    unnamed_ = false;
}

bool ContainerOutputFile::isTemporaryName(const std::string& name) {
    if (name.size() <= kTemporaryPrefix.size() + kTemporarySuffix.size() || name.rfind(kTemporaryPrefix, 0) != 0 ||
        name.compare(name.size() - kTemporarySuffix.size(), kTemporarySuffix.size(), kTemporarySuffix) != 0) {
        return false;
    }
    const std::string middle = middleOf(name);
    const auto dash = middle.find('-');
    if (dash == std::string::npos) return allDigits(middle);
    return allDigits(std::string_view(middle).substr(0, dash)) && allDigits(std::string_view(middle).substr(dash + 1));
}

void ContainerOutputFile::removeStaleTemporaries(const fs::path& folder) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!isTemporaryName(name) || !it->is_regular_file(ec)) continue;
        const pid_t writer = writerOf(name);
        const bool writerGone = writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH;
        const auto modified = fs::last_write_time(it->path(), ec);
        const bool untouched = !ec && now - modified > kStaleAfter;
        if (writerGone || untouched) fs::remove(it->path(), ec);
        ec.clear();
    }
}

}  // namespace mirado
