// Progress reports, stopping a job, and failures the writer meets half-way.
#include <sys/resource.h>

#include <csignal>

#include "JobFixture.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using testing::touch;
using Entries = std::vector<std::string>;

class EncryptProgressReport : public testing::JobFixture {};

constexpr std::size_t kChunk = ContainerWriter::kChunkSize;

TEST_F(EncryptProgressReport, EveryFileIsAnnouncedFinishedAndCountedInBytes) {
    touch(source / "a.mp4", kChunk + 10);
    touch(source / "b.mp4", 0);
    touch(source / "sub/c.mp4", 300);
    const std::uint64_t jobBytes = kChunk + 310;

    std::vector<FileStart> starts;
    std::vector<FileFinish> finishes;
    std::vector<std::uint64_t> bytes;
    EncryptProgress progress;
    progress.fileStarted = [&](const FileStart& file) { starts.push_back(file); };
    progress.fileFinished = [&](const FileFinish& file) { finishes.push_back(file); };
    progress.bytesDone = [&](std::uint64_t done) { bytes.push_back(done); };
    const EncryptOutcome outcome = run(source, progress);
    ASSERT_EQ(outcome.containersWritten, 3);

    ASSERT_EQ(starts.size(), 3u);
    const std::uint64_t sizes[] = {kChunk + 10, 0, 300};
    const char* names[] = {"a.mp4", "b.mp4", "sub/c.mp4"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(starts[i].index, i);
        EXPECT_EQ(starts[i].total, 3);
        EXPECT_EQ(starts[i].source, source / names[i]);
        EXPECT_EQ(starts[i].size, sizes[i]);
        EXPECT_EQ(starts[i].jobBytes, jobBytes);
    }
    ASSERT_EQ(finishes.size(), 3u);
    EXPECT_EQ(finishes[2].index, 2);
    EXPECT_EQ(finishes[2].container, out / "clips/sub/c.pmpk");
    for (const auto& finish : finishes) {
        EXPECT_TRUE(finish.result);
        EXPECT_TRUE(fs::is_regular_file(finish.container)) << finish.container;
    }
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(std::is_sorted(bytes.begin(), bytes.end()));
    EXPECT_EQ(bytes.front(), kChunk);  // the first chunk of a.mp4
    EXPECT_EQ(bytes.back(), jobBytes);
}

TEST_F(EncryptProgressReport, StoppingBetweenFilesKeepsTheFinishedContainers) {
    touch(source / "a.mp4");
    touch(source / "b.mp4");
    touch(source / "c.mp4");
    int finished = 0;
    EncryptProgress progress;
    progress.fileFinished = [&](const FileFinish&) { ++finished; };
    progress.stopRequested = [&] { return finished == 2; };
    const EncryptOutcome outcome = run(source, progress);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.filesFound, 3);
    EXPECT_EQ(outcome.containersWritten, 2);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk", "clips/b.pmpk"}));
}

TEST_F(EncryptProgressReport, StoppingInsideAFileLeavesNoTraceOfIt) {
    touch(source / "a.mp4", 50);
    touch(source / "b.mp4", 2 * kChunk + 1);
    touch(source / "c.mp4", 50);
    bool stop = false;
    WriteError lastResult = WriteError::None;
    EncryptProgress progress;
    progress.bytesDone = [&](std::uint64_t done) { stop = done > 50; };  // inside b.mp4
    progress.stopRequested = [&] { return stop; };
    progress.fileFinished = [&](const FileFinish& file) { lastResult = file.result.error; };
    const EncryptOutcome outcome = run(source, progress);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.containersWritten, 1);
    EXPECT_EQ(outcome.bytesDone, 50u);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_EQ(lastResult, WriteError::Cancelled);
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk"}));  // no partial file either
}

// Wherever the user stops, the outcome counts exactly the containers the job leaves behind.
TEST_F(EncryptProgressReport, StoppingAfterAnyFileLeavesExactlyTheContainersTheOutcomeCounts) {
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4", "d/e.mp4", "d/f.mp4"}) touch(source / name);
    for (int stopAfter = 1; stopAfter <= 5; ++stopAfter) {
        SCOPED_TRACE(stopAfter);
        fs::remove_all(out);
        fs::create_directories(out);
        int finished = 0;
        EncryptProgress progress;
        progress.fileFinished = [&](const FileFinish&) { ++finished; };
        progress.stopRequested = [&] { return finished >= stopAfter; };
        const EncryptOutcome outcome = run(source, progress);
        EXPECT_EQ(outcome.cancelled, stopAfter < 5);
        EXPECT_GE(outcome.containersWritten, stopAfter);
        EXPECT_EQ(outcome.containersWritten, finished);
        int onDisk = 0;
        for (const auto& entry : fs::recursive_directory_iterator(out)) onDisk += entry.path().extension() == ".pmpk";
        EXPECT_EQ(onDisk, outcome.containersWritten);
    }
}

// Folders are made ahead of the files going into them; a stopped job takes back the ones it never
// used, with the folders made on the way to them, and leaves folders that were there alone.
TEST_F(EncryptProgressReport, StoppingLeavesNoFolderMadeForFilesTheJobNeverReached) {
    constexpr int kFolders = 150;  // more than the maker runs ahead
    for (int i = 0; i < kFolders; ++i) touch(source / ("f" + std::to_string(i)) / "deep/v.mp4");
    fs::create_directories(out / "clips/f149");  // the user's, empty, before the job
    for (int stopAfter : {1, 70}) {
        SCOPED_TRACE(stopAfter);
        int finished = 0;
        EncryptProgress progress;
        progress.fileFinished = [&](const FileFinish&) { ++finished; };
        progress.stopRequested = [&] { return finished >= stopAfter; };
        const EncryptOutcome outcome = run(source, progress);
        EXPECT_TRUE(outcome.cancelled);
        EXPECT_EQ(outcome.containersWritten, stopAfter);
        int containers = 0, deepFolders = 0, topFolders = 0;
        for (const auto& entry : fs::recursive_directory_iterator(out / "clips")) {
            containers += entry.is_regular_file();
            deepFolders += entry.is_directory() && entry.path().filename() == "deep";
            topFolders += entry.is_directory() && entry.path().filename() != "deep";
        }
        EXPECT_EQ(containers, stopAfter);
        EXPECT_EQ(deepFolders, stopAfter);
        EXPECT_TRUE(fs::is_directory(out / "clips/f149"));
        // Each top folder holds its container's folder, but for the user's own.
        EXPECT_EQ(topFolders, stopAfter + (fs::exists(out / "clips/f149/deep") ? 0 : 1));
        fs::remove_all(out / "clips");
        fs::create_directories(out / "clips/f149");
    }
    // Not stopped, the job fills every folder.
    const EncryptOutcome outcome = run(source);
    EXPECT_EQ(outcome.containersWritten, kFolders);
    EXPECT_TRUE(outcome.failures.empty());
}

// A file-size limit makes the writer fail part-way, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(EncryptProgressReport, WriteFailureIsListedWithItsReasonAndTheJobGoesOn) {
    touch(source / "a.mp4", 1000);
    touch(source / "b.mp4", 300000);
    touch(source / "c.mp4", 1000);
    EncryptOutcome outcome;
    {
        FileSizeLimit limit(100000);
        outcome = run();
    }
    EXPECT_EQ(outcome.filesFound, 3);
    EXPECT_EQ(outcome.containersWritten, 2);
    EXPECT_EQ(outcome.bytesDone, 2000u);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].source, source / "b.mp4");
    EXPECT_EQ(outcome.failures[0].result.error, WriteError::WriteFailed);
    EXPECT_NE(outcome.failures[0].result.describe().find("too large"), std::string::npos)
        << outcome.failures[0].result.describe();
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk", "clips/c.pmpk"}));
}

}  // namespace
}  // namespace mirado
