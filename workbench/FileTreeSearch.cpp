#include "FileTreeSearch.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "CaseFold.h"
#include "DirectoryListing.h"

namespace mirado {
namespace {

bool isHidden(const std::string& name) { return !name.empty() && name.front() == '.'; }

// Name order ignoring case; names equal but for case keep a fixed order among themselves.
bool nameBefore(const DirectoryEntry& a, const DirectoryEntry& b) {
    const int byFold = compareIgnoringCase(a.name, b.name);
    return byFold != 0 ? byFold < 0 : a.name < b.name;
}

std::string_view extensionOfName(std::string_view name) {
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

}  // namespace

void freeSubtree(std::unique_ptr<FileTreeNode> node) {
    if (!node) return;
    std::vector<std::unique_ptr<FileTreeNode>> nodes;
    nodes.push_back(std::move(node));
    // Each node hands its children over before it goes, so no destructor ever frees a subtree.
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        for (auto& child : nodes[i]->children) nodes.push_back(std::move(child));
        nodes[i]->children.clear();
    }
}

FileTreeSearch::~FileTreeSearch() { clear(); }

void FileTreeSearch::clear() {
    folderQueue_.clear();
    results_.clear();
    unreadable_.clear();
    freeSubtree(std::move(root_));
}

bool FileTreeSearch::Search(std::vector<std::string> extensions, std::uint32_t flags,
                            std::filesystem::path rootPath) {
    flags_ = flags;
    filter_ = std::move(extensions);
    rootPath_ = std::move(rootPath);
    if (filter_.empty()) return false;
    clear();
    try {
        root_ = std::make_unique<FileTreeNode>();
        root_->isFolder = true;
        root_->name = "root";
        if (flags_ & SearchFromRootPath) root_->fullPath = rootPath_;
        folderQueue_.push_back(root_.get());
        const std::size_t walked = (flags_ & SearchRecursive) ? SIZE_MAX : 1;
        // scanFolder appends to the queue, so the walk goes level by level.
        for (std::size_t i = 0; i < folderQueue_.size() && i < walked; ++i) scanFolder(*folderQueue_[i]);
    } catch (const std::bad_alloc&) {
        clear();
        return false;
    }
    return true;
}

void FileTreeSearch::scanFolder(FileTreeNode& node) {
    std::vector<DirectoryEntry> entries;
    const auto& where = (flags_ & SearchFromRootPath) ? node.fullPath : rootPath_ / node.fullPath;
    if (!readDirectory(where, entries)) unreadable_.push_back({where, errno});
    std::erase_if(entries, [this](const DirectoryEntry& entry) {
        if (isHidden(entry.name)) return true;
        switch (entry.kind) {
            case EntryKind::Folder: return false;
            case EntryKind::File: return !matchesFilter(entry.name);
            case EntryKind::Other: return true;
        }
        return true;
    });
    std::sort(entries.begin(), entries.end(), nameBefore);

    node.children.reserve(entries.size());
    for (auto& entry : entries) {
        auto child = std::make_unique<FileTreeNode>();
        child->isFolder = entry.kind == EntryKind::Folder;
        child->parent = &node;
        child->fullPath = node.fullPath / entry.name;
        child->name = std::move(entry.name);
        if (child->isFolder) {
            folderQueue_.push_back(child.get());
        } else {
            results_.push_back(child.get());
        }
        node.children.push_back(std::move(child));
    }
    node.scanned = true;
}

bool FileTreeSearch::matchesFilter(std::string_view fileName) const {
    const auto extension = extensionOfName(fileName);
    return std::any_of(filter_.begin(), filter_.end(),
                       [extension](const std::string& wanted) { return equalsIgnoringCase(extension, wanted); });
}

}  // namespace mirado
