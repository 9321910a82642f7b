#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace mirado {

// One folder, or one file that passed a search's filter. A node owns its children.
struct FileTreeNode {
    bool isFolder = false;
    bool scanned = false;  // set once the folder's entries were read
    FileTreeNode* parent = nullptr;
    std::vector<std::unique_ptr<FileTreeNode>> children;  // sub-folders and matching files, in name order
    std::filesystem::path fullPath;
    std::string name;  // "root" for the root
};

}  // namespace mirado
