#pragma once
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

namespace mirado::testing {

// A chain of sub-folders below `base` that goes on past PATH_MAX, with a file `fileName` at its
// end: the first folder whose path is too long cannot be opened by its path by anyone, root
// included. Returns that folder's path. Made and removed through descriptors, one level at a time.
inline std::filesystem::path makeFolderBeyondPathMax(const std::filesystem::path& base, const std::string& fileName) {
    std::filesystem::create_directories(base);
    const std::string name(200, 'd');
    std::filesystem::path path = base, unreachable;
    int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY);
    while (fd >= 0 && unreachable.empty()) {
        ::mkdirat(fd, name.c_str(), 0755);
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        path /= name;
        if (path.native().size() >= PATH_MAX) unreachable = path;
    }
    if (fd >= 0) {
        ::close(::openat(fd, fileName.c_str(), O_WRONLY | O_CREAT, 0644));
        ::close(fd);
    }
    return unreachable;
}

// Removes a folder and everything below it however deep, as remove_all cannot past PATH_MAX.
inline void removeDeepTree(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0) {
        ::unlinkat(parentFd, name, 0);
        return;
    }
    if (DIR* dir = ::fdopendir(::dup(fd))) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string child = entry->d_name;
            if (child != "." && child != "..") removeDeepTree(fd, child.c_str());
        }
        ::closedir(dir);
    }
    ::close(fd);
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

inline void removeDeepTree(const std::filesystem::path& folder) {
    removeDeepTree(AT_FDCWD, folder.c_str());
}

}  // namespace mirado::testing
