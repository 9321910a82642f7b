#include "workbench/FileTreeSearch.h"

#include <gtest/gtest.h>

#include <vector>

#include "TreeFiles.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::touch;

constexpr std::uint32_t kJobFlags = FileTreeSearch::SearchRecursive | FileTreeSearch::SearchFromRootPath;

// The results as paths below `root`, in result order.
std::vector<std::string> found(const FileTreeSearch& search, const fs::path& root) {
    std::vector<std::string> paths;
    for (const FileTreeNode* node : search.results()) paths.push_back(node->fullPath.lexically_relative(root).string());
    return paths;
}

using Paths = std::vector<std::string>;

TEST(FileTreeSearch, EmptyAndMissingRootsSearchSuccessfullyAndFindNothing) {
    TempDir dir;
    FileTreeSearch search;
    EXPECT_TRUE(search.Search({"mp4"}, kJobFlags, dir.path()));
    EXPECT_TRUE(search.results().empty());
    ASSERT_NE(search.root(), nullptr);
    EXPECT_TRUE(search.root()->children.empty());
    EXPECT_TRUE(search.root()->scanned);

    EXPECT_TRUE(search.Search({"mp4"}, kJobFlags, dir / "gone"));
    EXPECT_TRUE(search.results().empty());
    // A file as root is a folder that cannot be read.
    touch(dir / "clip.mp4");
    EXPECT_TRUE(search.Search({"mp4"}, kJobFlags, dir / "clip.mp4"));
    EXPECT_TRUE(search.results().empty());
}

TEST(FileTreeSearch, ExtensionIsWhatFollowsTheLastDotComparedIgnoringCase) {
    TempDir dir;
    for (const char* name : {"a.MP4", "b.Mp4", "movie.part1.mp4", "archive.mp4.txt", "avi", "mp4.", "clip.mp3",
                             "film.ВИДЕО", "noext", ".mp4"}) {
        touch(dir / name);
    }
    FileTreeSearch search;
    ASSERT_TRUE(search.Search({"mp4", "avi", "видео"}, kJobFlags, dir.path()));
    // ".mp4" is hidden; "mp4." has an empty extension.
    EXPECT_EQ(found(search, dir.path()), (Paths{"a.MP4", "avi", "b.Mp4", "film.ВИДЕО", "movie.part1.mp4"}));
}

TEST(FileTreeSearch, WalksLevelByLevelWithEachFolderInNameOrderIgnoringCase) {
    TempDir dir;
    touch(dir / "z.mp4");
    touch(dir / "A.mp4");
    touch(dir / "b/x.mp4");
    touch(dir / "b/deep/y.mp4");
    touch(dir / "C/w.mp4");
    touch(dir / "C/skip.txt");
    touch(dir / "a.mp4");  // differs from A.mp4 only in case: the order between them is still fixed
    FileTreeSearch search;
    ASSERT_TRUE(search.Search({"mp4"}, kJobFlags, dir.path()));
    EXPECT_EQ(found(search, dir.path()), (Paths{"A.mp4", "a.mp4", "z.mp4", "b/x.mp4", "C/w.mp4", "b/deep/y.mp4"}));
}

TEST(FileTreeSearch, TreeLinksEveryNodeToItsFolder) {
    TempDir dir;
    touch(dir / "top.avi");
    touch(dir / "trip/b.avi");
    touch(dir / "trip/notes.txt");
    fs::create_directories(dir / "misc/deep");
    touch(dir / "misc/deep/c.avi");
    FileTreeSearch search;
    ASSERT_TRUE(search.Search({"avi"}, kJobFlags, dir.path()));

    const FileTreeNode* root = search.root();
    EXPECT_EQ(root->fullPath, dir.path());
    EXPECT_EQ(root->name, "root");
    EXPECT_EQ(root->parent, nullptr);
    ASSERT_EQ(root->children.size(), 3u);  // misc, top.avi, trip: no node for notes.txt
    EXPECT_EQ(root->children[0]->name, "misc");
    EXPECT_TRUE(root->children[0]->isFolder);
    EXPECT_EQ(root->children[1]->name, "top.avi");
    EXPECT_FALSE(root->children[1]->isFolder);
    EXPECT_EQ(root->children[2]->name, "trip");
    ASSERT_EQ(root->children[2]->children.size(), 1u);

    for (const FileTreeNode* file : search.results()) {
        EXPECT_FALSE(file->isFolder);
        ASSERT_NE(file->parent, nullptr);
        EXPECT_TRUE(file->parent->isFolder);
        EXPECT_TRUE(file->parent->scanned);
        EXPECT_EQ(file->fullPath, file->parent->fullPath / file->name);
        EXPECT_TRUE(fs::is_regular_file(file->fullPath)) << file->fullPath;
    }
    ASSERT_EQ(search.results().size(), 3u);
    EXPECT_EQ(search.results()[2]->parent->parent->parent, root);  // misc/deep/c.avi
}

TEST(FileTreeSearch, HiddenEntriesAndEverythingBelowThemAreSkipped) {
    TempDir dir;
    touch(dir / ".hidden/a.mp4");
    touch(dir / ".hidden/inner/b.mp4");
    touch(dir / "shown/.c.mp4");
    touch(dir / "shown/d.mp4");
    FileTreeSearch search;
    ASSERT_TRUE(search.Search({"mp4"}, kJobFlags, dir.path()));
    EXPECT_EQ(found(search, dir.path()), (Paths{"shown/d.mp4"}));
    EXPECT_EQ(search.root()->children.size(), 1u);
}

TEST(FileTreeSearch, FifosSocketsAndFolderLinksAreNotEntered) {
    TempDir dir;
    ASSERT_TRUE(testing::makeFifo(dir / "pipe.mp4"));
    ASSERT_TRUE(testing::makeSocket(dir / "sock.mp4"));
    touch(dir / "real/clip.mp4");
    fs::create_directory_symlink(dir / "real", dir / "alias");        // a second way into real/
    fs::create_directory_symlink(dir.path(), dir / "real/loop");      // back up to the root
    fs::create_symlink(dir / "real/clip.mp4", dir / "linked.mp4");    // a link to a file is a file
    fs::create_symlink(dir / "nowhere.mp4", dir / "dangling.mp4");
    fs::create_symlink("/dev/null", dir / "device.mp4");
    FileTreeSearch search;
    ASSERT_TRUE(search.Search({"mp4"}, kJobFlags, dir.path()));
    EXPECT_EQ(found(search, dir.path()), (Paths{"linked.mp4", "real/clip.mp4"}));
}

TEST(FileTreeSearch, FolderNamedLikeAMediaFileIsEnteredNotMatched) {
    TempDir dir;
    touch(dir / "album.mp4/inside.mp4");
    FileTreeSearch search;
    ASSERT_TRUE(search.Search({"mp4"}, kJobFlags, dir.path()));
    EXPECT_EQ(found(search, dir.path()), (Paths{"album.mp4/inside.mp4"}));
}

TEST(FileTreeSearch, RootPathEndingInASeparatorGivesUsablePaths) {
    TempDir dir;
    touch(dir / "clips/a.mp4");
    touch(dir / "clips/sub/b.mp4");
    FileTreeSearch search;
    const fs::path root = dir.path().string() + "/clips/";
    ASSERT_TRUE(search.Search({"mp4"}, kJobFlags, root));
    EXPECT_EQ(search.root()->fullPath, root);
    ASSERT_EQ(search.results().size(), 2u);
    for (const FileTreeNode* file : search.results()) EXPECT_TRUE(fs::is_regular_file(file->fullPath));
    EXPECT_EQ(search.results()[1]->fullPath, dir / "clips/sub/b.mp4");
}

TEST(FileTreeSearch, FindsAFileFarDownWithoutLimitOnDepth) {
    TempDir dir;
    fs::path deep = dir.path();
    for (int level = 0; level < 100; ++level) deep /= "d" + std::to_string(level % 10);
    touch(deep / "bottom.mkv");
    FileTreeSearch search;
    ASSERT_TRUE(search.Search({"mkv"}, kJobFlags, dir.path()));
    ASSERT_EQ(search.results().size(), 1u);
    EXPECT_EQ(search.results()[0]->fullPath, deep / "bottom.mkv");
}

TEST(FileTreeSearch, EmptyFilterRefusesAndKeepsTheEarlierResults) {
    TempDir dir;
    touch(dir / "a.mp4");
    touch(dir / "b.avi");
    FileTreeSearch search;
    EXPECT_FALSE(search.Search({}, kJobFlags, dir.path()));
    EXPECT_EQ(search.root(), nullptr);

    ASSERT_TRUE(search.Search({"mp4"}, kJobFlags, dir.path()));
    const FileTreeNode* first = search.results().at(0);
    EXPECT_FALSE(search.Search({}, kJobFlags, dir / "elsewhere"));
    ASSERT_EQ(search.results().size(), 1u);
    EXPECT_EQ(search.results()[0], first);
    EXPECT_TRUE(search.filter().empty());

    ASSERT_TRUE(search.Search({"avi"}, kJobFlags, dir.path()));
    EXPECT_EQ(found(search, dir.path()), (Paths{"b.avi"}));
    EXPECT_EQ(search.filter(), (std::vector<std::string>{"avi"}));
}

TEST(FileTreeSearch, FlagsLimitTheWalkToTheRootAndMakePathsRelative) {
    TempDir dir;
    touch(dir / "a.mp4");
    touch(dir / "sub/b.mp4");
    FileTreeSearch search;

    ASSERT_TRUE(search.Search({"mp4"}, FileTreeSearch::SearchFromRootPath, dir.path()));
    EXPECT_EQ(found(search, dir.path()), (Paths{"a.mp4"}));
    ASSERT_EQ(search.root()->children.size(), 2u);
    EXPECT_FALSE(search.root()->children[1]->scanned);  // sub/ is known but not read

    ASSERT_TRUE(search.Search({"mp4"}, FileTreeSearch::SearchRecursive, dir.path()));
    EXPECT_TRUE(search.root()->fullPath.empty());
    ASSERT_EQ(search.results().size(), 2u);
    EXPECT_EQ(search.results()[0]->fullPath, "a.mp4");
    EXPECT_EQ(search.results()[1]->fullPath, fs::path("sub") / "b.mp4");
    EXPECT_EQ(search.rootPath(), dir.path());
}

}  // namespace
}  // namespace mirado
