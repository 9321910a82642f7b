#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace mirado {

// What a folder entry is to a walk. A symbolic link counts as what it points to, except that a link to
// a folder is `Other`: following it could loop.
enum class EntryKind { File, Folder, Other };

struct DirectoryEntry {
    std::string name;
    EntryKind kind;
};

// Appends the entries of one folder (without "." and ".."), in the file system's order.
// False, with errno set, when the folder cannot be opened; entries gives nothing then.
bool readDirectory(const std::filesystem::path& folder, std::vector<DirectoryEntry>& entries);

}  // namespace mirado
