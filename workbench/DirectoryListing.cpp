#include "DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace mirado {
namespace {

EntryKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    return EntryKind::Other;
}

// The file system gave no type, or a link: ask for it.
EntryKind kindByStat(int folderFd, const char* name) {
    struct stat info {};
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
    if (!S_ISLNK(info.st_mode)) return kindOfMode(info.st_mode);
    if (::fstatat(folderFd, name, &info, 0) != 0) return EntryKind::Other;  // a dangling link
    return S_ISREG(info.st_mode) ? EntryKind::File : EntryKind::Other;
}

}  // namespace

bool readDirectory(const std::filesystem::path& folder, std::vector<DirectoryEntry>& entries) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return false;
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        EntryKind kind = EntryKind::Other;
        switch (entry->d_type) {
            case DT_REG: kind = EntryKind::File; break;
            case DT_DIR: kind = EntryKind::Folder; break;
            case DT_LNK:
            case DT_UNKNOWN: kind = kindByStat(fd, name); break;
            default: break;
        }
        entries.push_back({name, kind});
    }
    ::closedir(dir);
    return true;
}

}  // namespace mirado
