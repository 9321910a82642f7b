#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FileTreeNode.h"

namespace mirado {

// Walks a folder tree breadth-first and collects every file whose extension is in a filter. The tree
// it builds stays readable until the next search, so callers can look at each result's folder.
//
// Skipped, with everything below them: names beginning with "." (hidden), entries that are neither a
// file nor a folder (devices, FIFOs, sockets), and links to folders. A link to a file counts as a
// file. The entries of one folder are taken in name order ignoring case, so results do not depend on
// the file system's order.
class FileTreeSearch {
public:
    static constexpr std::uint32_t SearchRecursive = 0x04;     // enter sub-folders; else the root only
    static constexpr std::uint32_t SearchFromRootPath = 0x100; // full paths start with the root path;
                                                               // else they are relative to it

    FileTreeSearch() = default;
    FileTreeSearch(const FileTreeSearch&) = delete;
    FileTreeSearch& operator=(const FileTreeSearch&) = delete;
    ~FileTreeSearch();

    // False, keeping the previous tree, when the filter is empty; false with no tree when memory ran
    // out. A missing or unreadable folder is an empty one.
    bool Search(std::vector<std::string> extensions, std::uint32_t flags, std::filesystem::path rootPath);

    struct UnreadableFolder {
        std::filesystem::path path;
        int systemError = 0;
    };
    // The folders of the last search that could not be read (they count as empty), in walk order.
    const std::vector<UnreadableFolder>& unreadable() const { return unreadable_; }

    // Matching file nodes in discovery order: the root's files, then level by level.
    const std::vector<const FileTreeNode*>& results() const { return results_; }
    const FileTreeNode* root() const { return root_.get(); }
    const std::vector<std::string>& filter() const { return filter_; }
    std::uint32_t flags() const { return flags_; }
    const std::filesystem::path& rootPath() const { return rootPath_; }

private:
    void scanFolder(FileTreeNode& node);
    bool matchesFilter(std::string_view fileName) const;
    void clear();

    std::vector<std::string> filter_;
    std::uint32_t flags_ = 0;
    std::filesystem::path rootPath_;
    std::unique_ptr<FileTreeNode> root_;
    std::vector<FileTreeNode*> folderQueue_;
    std::vector<const FileTreeNode*> results_;
    std::vector<UnreadableFolder> unreadable_;
};

// Frees a tree without recursing, so a deep tree cannot exhaust the stack.
void freeSubtree(std::unique_ptr<FileTreeNode> node);

}  // namespace mirado
