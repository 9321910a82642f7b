// How a container comes into place and what the writer takes as its source: only regular files, read
// whole at the size they had, and output that appears whole or not at all, keeping what it replaces.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "ReferenceFormat.h"
#include "container/ContainerOutputFile.h"
#include "container/ContainerWriter.h"
#include "tests/support/TempDir.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using testing::asciiKey;
using testing::patternBytes;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ContainerFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(out);
        writer.configure(asciiKey("secret42"), false, u"", 0, 0, 0);
    }
    TempDir dir;
    fs::path out = dir / "out";
    ContainerWriter writer;
};

// A FIFO without a writer would block an ordinary open for ever; ctest's timeout catches a hang.
TEST_F(ContainerFiles, OnlyRegularFilesAreTakenAndNothingIsWrittenForTheRest) {
    ASSERT_EQ(::mkfifo((dir / "pipe.mp4").c_str(), 0600), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (dir / "s.mp4").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    for (const fs::path& source : {dir / "pipe.mp4", fs::path("/dev/zero"), fs::path("/proc/self/status"),
                                  fs::path("/sys/kernel/mm/transparent_hugepage/enabled"), dir / "s.mp4"}) {
        if (!fs::exists(source)) continue;
        const WriteResult result = writer.encipherFile(source, out);
        EXPECT_EQ(result.error, WriteError::NotAFile) << source;
        EXPECT_EQ(result.describe(), "the source is not a regular file") << source;
        EXPECT_TRUE(namesIn(out).empty()) << source;
    }
    ::close(listener);
}

TEST_F(ContainerFiles, ASourceThatGrowsOrShrinksWhileItIsReadFailsAndLeavesNothing) {
    const fs::path source = dir / "v.mp4";
    writeFile(out / "v.pmpk", {7, 7});
    for (const std::uint64_t changedSize : {std::uint64_t(12) << 20, std::uint64_t(5) << 20}) {
        writeFile(source, patternBytes(9 << 20));
        bool changed = false;
        const WriteResult result = writer.encipherFile(source, out, [&](std::uint64_t) {
            if (!changed) fs::resize_file(source, changedSize);
            changed = true;
            return true;
        });
        EXPECT_EQ(result.error, WriteError::SourceChanged) << changedSize;
        EXPECT_EQ(result.describe(), "the source changed while it was read");
        EXPECT_EQ(namesIn(out), std::vector<std::string>{"v.pmpk"});
        EXPECT_EQ(readFile(out / "v.pmpk"), (std::vector<std::uint8_t>{7, 7})) << "the earlier container stays";
    }
}

TEST_F(ContainerFiles, NothingIsVisibleInTheFolderUntilTheContainerIsWhole) {
    writeFile(dir / "v.mp4", patternBytes(9 << 20));
    std::vector<std::vector<std::string>> seen;
    ASSERT_TRUE(writer.encipherFile(dir / "v.mp4", out, [&](std::uint64_t) {
        seen.push_back(namesIn(out));
        return true;
    }));
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& names : seen) EXPECT_TRUE(names.empty());
    EXPECT_EQ(namesIn(out), std::vector<std::string>{"v.pmpk"});
    EXPECT_EQ(fs::file_size(out / "v.pmpk"), 732u + (9u << 20));
}

TEST_F(ContainerFiles, AReplacementKeepsTheModeAndWritesThroughALink) {
    writeFile(dir / "v.mp4", patternBytes(1000));
    writeFile(out / "v.pmpk", {1});
    ASSERT_EQ(::chmod((out / "v.pmpk").c_str(), 0600), 0);
    ASSERT_TRUE(writer.encipherFile(dir / "v.mp4", out));
    struct stat info {};
    ASSERT_EQ(::stat((out / "v.pmpk").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(fs::file_size(out / "v.pmpk"), 1732u);

    // A container kept elsewhere and linked in: the link stays, the file it points to is replaced.
    fs::create_directories(dir / "store");
    writeFile(dir / "store/real.pmpk", {2});
    ASSERT_EQ(::chmod((dir / "store/real.pmpk").c_str(), 0640), 0);
    fs::remove(out / "v.pmpk");
    fs::create_symlink(dir / "store/real.pmpk", out / "v.pmpk");
    ASSERT_TRUE(writer.encipherFile(dir / "v.mp4", out));
    EXPECT_TRUE(fs::is_symlink(out / "v.pmpk"));
    EXPECT_EQ(fs::file_size(dir / "store/real.pmpk"), 1732u);
    ASSERT_EQ(::stat((dir / "store/real.pmpk").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(dir / "store"), std::vector<std::string>{"real.pmpk"});

    // A fresh container follows the umask like any new file.
    const mode_t previous = ::umask(027);
    writeFile(dir / "w.mp4", patternBytes(10));
    ASSERT_TRUE(writer.encipherFile(dir / "w.mp4", out));
    ::umask(previous);
    ASSERT_EQ(::stat((out / "w.pmpk").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(ContainerFiles, AReplacementKeepsTheOwnerWhereTheSystemAllowsIt) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file away";
    writeFile(dir / "v.mp4", patternBytes(100));
    writeFile(out / "v.pmpk", {1});
    ASSERT_EQ(::chown((out / "v.pmpk").c_str(), 4321, 8765), 0);
    ASSERT_TRUE(writer.encipherFile(dir / "v.mp4", out));
    struct stat info {};
    ASSERT_EQ(::stat((out / "v.pmpk").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
    EXPECT_EQ(fs::file_size(out / "v.pmpk"), 832u);
}

TEST_F(ContainerFiles, StaleTemporariesOfKilledRunsAreRemovedOthersStay) {
    // A process id that is surely gone: a child that has been waited for.
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    int status = 0;
    waitpid(gone, &status, 0);
    const std::string dead = ".mirado-partial-" + std::to_string(gone) + "-0.pmpk";
    const std::string alive = ".mirado-partial-" + std::to_string(getpid()) + "-3.pmpk";
    for (const std::string& name : {dead, alive, std::string(".mirado-partial-123456.pmpk"),
                                    std::string(".mirado-partial-99.pmpk"), std::string(".mirado-partial-x.pmpk"),
                                    std::string("keep.pmpk"), std::string(".hidden")}) {
        writeFile(out / name, {1});
    }
    // An earlier version's name carries no process id: only its age tells that nobody writes it.
    fs::last_write_time(out / ".mirado-partial-123456.pmpk", fs::file_time_type::clock::now() - std::chrono::hours(1));
    ContainerOutputFile::removeStaleTemporaries(out);
    EXPECT_EQ(namesIn(out), (std::vector<std::string>{".hidden", alive, ".mirado-partial-99.pmpk",
                                                      ".mirado-partial-x.pmpk", "keep.pmpk"}));
}

}  // namespace
}  // namespace mirado
