#pragma once
#include <filesystem>

#include "FileTreeNode.h"

namespace mirado {

// The folder a folder job writes into: the destination folder plus the source folder's base name (its
// name cut before the last "."; trip.2014 gives trip). "clips/" and "clips/." name the folder clips;
// the file system's root has no name, so its tree lands in the destination folder itself, and so does
// that of a folder whose base name is "." or ".." (named "..." or "...old").
std::filesystem::path destinationRootFor(const std::filesystem::path& sourceFolder,
                                         const std::filesystem::path& destinationFolder);

// The path of a found file's folder below the searched root: empty for a file in the root itself.
std::filesystem::path relativeFolderOf(const FileTreeNode& file);

}  // namespace mirado
