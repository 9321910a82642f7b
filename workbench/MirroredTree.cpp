#include "MirroredTree.h"

#include <vector>

#include "container/ContainerWriter.h"

namespace mirado {
namespace fs = std::filesystem;

fs::path destinationRootFor(const fs::path& sourceFolder, const fs::path& destinationFolder) {
    std::error_code ec;
    fs::path named = fs::absolute(sourceFolder, ec).lexically_normal();
    if (ec) named = sourceFolder.lexically_normal();
    // A trailing separator (shells add one when completing a folder) does not change which folder it is.
    if (!named.has_filename() && named.has_relative_path()) named = named.parent_path();
    const std::string baseName = ContainerWriter::baseNameOf(named);
    // "..." or "...old" cut before the last dot is ".." (and ".x" gives ""): such a name would lead
    // out of the destination folder or name no sub-folder, so the tree lands in the folder itself.
    const bool namesNoSubFolder = baseName.empty() || baseName == "." || baseName == "..";
    return namesNoSubFolder ? destinationFolder : destinationFolder / baseName;
}

fs::path relativeFolderOf(const FileTreeNode& file) {
    std::vector<const std::string*> names;
    for (const FileTreeNode* folder = file.parent; folder != nullptr && folder->parent != nullptr;
         folder = folder->parent) {
        names.push_back(&folder->name);
    }
    fs::path relative;
    for (auto name = names.rbegin(); name != names.rend(); ++name) relative /= **name;
    return relative;
}

}  // namespace mirado
