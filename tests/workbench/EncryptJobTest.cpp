#include "workbench/EncryptJob.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <set>

#include "JobFixture.h"
#include "tests/support/DeepFolder.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using testing::touch;
using Entries = std::vector<std::string>;

class EncryptJob : public testing::JobFixture {};

TEST_F(EncryptJob, FolderIsMirroredWithOneContainerPerMediaFile) {
    touch(source / "a.mp4", 5000);
    touch(source / "notes.txt");
    touch(source / "trip/b.AVI", 3000);
    touch(source / "misc/deep/c.png", 700);
    const auto notesBefore = testing::readFile(source / "notes.txt");

    const EncryptOutcome outcome = run();
    EXPECT_EQ(outcome.source, SourceKind::Folder);
    EXPECT_EQ(outcome.destinationRoot, out / "clips");
    EXPECT_EQ(outcome.filesFound, 3);
    EXPECT_EQ(outcome.containersWritten, 3);
    EXPECT_EQ(outcome.bytesDone, 8700u);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk", "clips/misc/", "clips/misc/deep/",
                                    "clips/misc/deep/c.pmpk", "clips/trip/", "clips/trip/b.pmpk"}));
    expectHolds(out / "clips/a.pmpk", source / "a.mp4");
    expectHolds(out / "clips/trip/b.pmpk", source / "trip/b.AVI");
    expectHolds(out / "clips/misc/deep/c.pmpk", source / "misc/deep/c.png");
    EXPECT_EQ(testing::readFile(source / "notes.txt"), notesBefore);
    EXPECT_EQ(treeOf(source).size(), 7u);  // nothing added to the source
}

// Format 2 keys are wrapped ahead on other threads: every container must still get a key, salt and
// nonce of its own, and a file that fails in the middle must not shift the keys of the others.
TEST_F(EncryptJob, AFormatTwoJobGivesEveryContainerItsOwnKeyAndSaltThoughTheyAreMadeAhead) {
    const std::vector<std::string> names{"a.mp4", "b.mp4", "c.mp4", "d.mp4", "e.mp4", "f.mp4"};
    for (std::size_t i = 0; i < names.size(); ++i) touch(source / names[i], 3000 + 70000 * i);
    EncryptRequest request;
    request.source = source;
    request.destinationFolder = out;
    request.key = key;
    request.version = ContainerVersion::Sealed;
    request.workFactor = 10;
    EncryptProgress progress;
    progress.fileStarted = [&](const FileStart& start) {
        if (start.index == 2) fs::remove(source / "d.mp4");
    };
    const EncryptOutcome outcome = runEncryptJob(request, search, progress);
    EXPECT_EQ(outcome.containersWritten, 5);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].source, source / "d.mp4");

    std::set<std::string> heads;
    for (const std::string& name : names) {
        if (name == "d.mp4") continue;
        const fs::path container = out / "clips" / (ContainerWriter::baseNameOf(name) + ".pmpk");
        expectHolds(container, source / name);
        ContainerReader reader;
        reader.setKey(key);
        ASSERT_TRUE(reader.open(container));
        EXPECT_EQ(reader.version(), ContainerVersion::Sealed);
        // The stanza's salt and wrapped key, and the payload nonce after the MAC line.
        const auto bytes = testing::readFile(container);
        const std::string text(bytes.begin(), bytes.begin() + 200);
        const std::size_t macLine = text.find("\n---");
        heads.insert(text.substr(0, macLine) + text.substr(text.find('\n', macLine + 1) + 1, 16));
    }
    EXPECT_EQ(heads.size(), 5u);
}

TEST_F(EncryptJob, ContainersOpenOnlyWithTheJobsKeyAndCarryItsWatermark) {
    touch(source / "a.jpg", 64);
    touch(source / "b.mkv", 0);
    EncryptRequest request{source, out, key, {true, u"© 2014", 3, 4, 2}};
    const EncryptOutcome outcome = runEncryptJob(request, search);
    ASSERT_EQ(outcome.containersWritten, 2);
    expectHolds(out / "clips/a.pmpk", source / "a.jpg");
    expectHolds(out / "clips/b.pmpk", source / "b.mkv");
    for (const char* name : {"clips/a.pmpk", "clips/b.pmpk"}) {
        ContainerReader reader;
        reader.setKey(AdditiveKeyCipher::keyFromPassword(u"secret13"));
        EXPECT_FALSE(reader.open(out / name));
        reader.setKey(key);
        ASSERT_TRUE(reader.open(out / name));
        const ContainerInfoRecord& record = reader.records().at(0);
        EXPECT_EQ(record.watermarkText, u"© 2014");
        EXPECT_EQ(record.watermarkPosition, 3);
        EXPECT_EQ(record.watermarkColour, 4);
        EXPECT_EQ(record.watermarkFontSize, 2);
    }
}

TEST_F(EncryptJob, DestinationRootIsNamedAfterTheSourceFolderBaseName) {
    touch(dir / "trip.2014/a.avi");
    touch(dir / "photos.1/x.jpg");
    touch(dir / "photos.2/y.jpg");
    EXPECT_EQ(run(dir / "trip.2014").containersWritten, 1);
    EXPECT_EQ(run(dir / "photos.1").containersWritten, 1);
    EXPECT_EQ(run(dir / "photos.2").containersWritten, 1);
    // A trailing separator, as a shell's completion adds it, names the same folder.
    touch(source / "c.mp4");
    EXPECT_EQ(run(source.string() + "/").destinationRoot, out / "clips");
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/c.pmpk", "photos/", "photos/x.pmpk", "photos/y.pmpk", "trip/",
                                    "trip/a.pmpk"}));
}

TEST_F(EncryptJob, FileNamedLikeAnExtensionIsFoundAndKeepsItsName) {
    touch(source / "mp4");
    touch(source / "sub/avi");
    const EncryptOutcome outcome = run();
    EXPECT_EQ(outcome.containersWritten, 2);
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/mp4.pmpk", "clips/sub/", "clips/sub/avi.pmpk"}));
}

TEST_F(EncryptJob, SharedBaseNamesGetContainersOfTheirOwn) {
    touch(source / "a.mp4", 10);
    touch(source / "a.avi", 20);
    touch(source / "trip/A.jpg", 30);
    touch(source / "trip/a.JPG", 40);
    touch(source / "trip/a.jpg", 50);
    touch(source / "trip/a.png", 60);
    const EncryptOutcome outcome = run();
    EXPECT_EQ(outcome.containersWritten, 6);
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.mp4.pmpk", "clips/a.pmpk", "clips/trip/", "clips/trip/A.pmpk",
                                    "clips/trip/a.JPG.pmpk", "clips/trip/a.jpg (2).pmpk", "clips/trip/a.png.pmpk"}));
    expectHolds(out / "clips/a.pmpk", source / "a.avi");  // first in name order
    expectHolds(out / "clips/a.mp4.pmpk", source / "a.mp4");
    expectHolds(out / "clips/trip/A.pmpk", source / "trip/A.jpg");
    expectHolds(out / "clips/trip/a.JPG.pmpk", source / "trip/a.JPG");
    expectHolds(out / "clips/trip/a.jpg (2).pmpk", source / "trip/a.jpg");
    expectHolds(out / "clips/trip/a.png.pmpk", source / "trip/a.png");
}

TEST_F(EncryptJob, RerunReplacesTheSameContainers) {
    touch(source / "a.mp4", 10);
    touch(source / "a.avi", 20);
    touch(source / "sub/b.mkv", 30);
    ASSERT_EQ(run().containersWritten, 3);
    const auto firstTree = treeOf(out);
    testing::writeFile(source / "a.mp4", testing::patternBytes(77, 9));
    const EncryptOutcome second = run();
    EXPECT_EQ(second.containersWritten, 3);
    EXPECT_EQ(treeOf(out), firstTree);
    expectHolds(out / "clips/a.mp4.pmpk", source / "a.mp4");
}

TEST_F(EncryptJob, EmptyFolderGivesAnEmptyDestinationRootAndNoContainers) {
    touch(source / "notes.txt");
    touch(source / "anim.gif");  // gif is not a folder job's media
    fs::create_directories(source / "empty/deeper");
    const EncryptOutcome outcome = run();
    EXPECT_EQ(outcome.source, SourceKind::Folder);
    EXPECT_EQ(outcome.filesFound, 0);
    EXPECT_EQ(outcome.containersWritten, 0);
    EXPECT_EQ(treeOf(out), (Entries{"clips/"}));
}

TEST_F(EncryptJob, VanishedSourceDoesNothing) {
    fs::remove(source);
    const EncryptOutcome outcome = run();
    EXPECT_EQ(outcome.source, SourceKind::Missing);
    EXPECT_EQ(outcome.containersWritten, 0);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_TRUE(treeOf(out).empty());
    EXPECT_EQ(run("").source, SourceKind::Missing);
}

TEST_F(EncryptJob, SingleFileOfAnyKindGoesStraightIntoTheDestination) {
    touch(source / "notes.txt", 123);
    const EncryptOutcome outcome = run(source / "notes.txt");
    EXPECT_EQ(outcome.source, SourceKind::File);
    EXPECT_EQ(outcome.filesFound, 1);
    EXPECT_EQ(outcome.containersWritten, 1);
    EXPECT_EQ(outcome.bytesDone, 123u);
    EXPECT_EQ(treeOf(out), (Entries{"notes.pmpk"}));
    expectHolds(out / "notes.pmpk", source / "notes.txt");
}

TEST_F(EncryptJob, SingleFileIntoAMissingFolderFailsWithItsReason) {
    touch(source / "a.mp4");
    fs::remove(out);
    const EncryptOutcome outcome = run(source / "a.mp4");
    EXPECT_EQ(outcome.containersWritten, 0);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].source, source / "a.mp4");
    EXPECT_EQ(outcome.failures[0].result.error, WriteError::DestinationMissing);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(EncryptJob, MissingDestinationFolderIsNotCreatedAndEveryFileFails) {
    touch(source / "a.mp4");
    touch(source / "sub/b.mp4");
    fs::remove(out);
    const EncryptOutcome outcome = run();
    EXPECT_EQ(outcome.filesFound, 2);
    EXPECT_EQ(outcome.containersWritten, 0);
    ASSERT_EQ(outcome.failures.size(), 2u);
    EXPECT_EQ(outcome.failures[1].result.error, WriteError::DestinationMissing);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(EncryptJob, UnreadableFileIsCountedAsFailedAndTheJobGoesOn) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    touch(source / "a.mp4");
    touch(source / "b.mp4");
    ASSERT_EQ(::chmod((source / "a.mp4").c_str(), 0), 0);
    const EncryptOutcome outcome = run();
    EXPECT_EQ(outcome.containersWritten, 1);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].source, source / "a.mp4");
    EXPECT_EQ(outcome.failures[0].result.error, WriteError::SourceUnreadable);
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/b.pmpk"}));
}

TEST_F(EncryptJob, UnreadableSubFolderIsListedAmongTheFailuresAndTheOthersAreWritten) {
    touch(source / "a.mp4");
    touch(source / "open/c.mp4");
    const fs::path unreadable = testing::makeFolderBeyondPathMax(source / "deep", "b.mp4");
    const EncryptOutcome outcome = run();
    testing::removeDeepTree(source / "deep");
    EXPECT_EQ(outcome.containersWritten, 2);
    EXPECT_EQ(outcome.filesFound, 2);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].source, unreadable);
    EXPECT_EQ(outcome.failures[0].result.error, WriteError::FolderUnreadable);
    EXPECT_EQ(outcome.failures[0].result.describe(),
              "cannot read the folder; its files were not enciphered: " + std::string(std::strerror(ENAMETOOLONG)));
    EXPECT_TRUE(fs::exists(out / "clips/a.pmpk"));
    EXPECT_TRUE(fs::exists(out / "clips/open/c.pmpk"));
}

// "...old" cut before its last dot is "..": it must not lead into the destination's parent.
TEST_F(EncryptJob, BaseNamesOfDotsKeepTheTreeInsideTheDestination) {
    for (const std::string name : {"...old", "...", "..x"}) {
        SCOPED_TRACE(name);
        fs::remove_all(out);
        fs::create_directories(out);
        const fs::path odd = dir / "src" / name;
        touch(odd / "a.mp4");
        touch(odd / "sub/b.mp4");
        const EncryptOutcome outcome = run(odd);
        fs::remove_all(dir / "src");
        EXPECT_EQ(outcome.destinationRoot, out);
        EXPECT_EQ(outcome.containersWritten, 2);
        EXPECT_EQ(treeOf(out), (Entries{"a.pmpk", "sub/", "sub/b.pmpk"}));
        EXPECT_EQ(treeOf(dir.path()), (Entries{"clips/", "out/", "out/a.pmpk", "out/sub/", "out/sub/b.pmpk"}));
    }
}

TEST_F(EncryptJob, AJobSweepsTheTemporariesKilledRunsLeftInItsFolders) {
    touch(source / "a.mp4");
    touch(source / "sub/b.mp4");
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    int status = 0;
    waitpid(gone, &status, 0);
    const std::string stale = ".mirado-partial-" + std::to_string(gone) + "-1.pmpk";
    touch(out / "clips" / stale, 100);
    touch(out / "clips/sub" / stale, 100);
    touch(out / "clips/other" / stale, 100);  // no file of the job goes there: left alone
    const EncryptOutcome outcome = run();
    EXPECT_EQ(outcome.containersWritten, 2);
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk", "clips/other/", "clips/other/" + stale, "clips/sub/",
                                    "clips/sub/b.pmpk"}));
}

TEST_F(EncryptJob, FileRemovedDuringTheJobFailsAloneWithItsReason) {
    touch(source / "a.mp4");
    touch(source / "b.mp4");
    touch(source / "c.mp4");
    EncryptProgress progress;
    progress.fileStarted = [&](const FileStart& file) {
        if (file.index == 0) fs::remove(source / "b.mp4");
    };
    const EncryptOutcome outcome = run(source, progress);
    EXPECT_EQ(outcome.filesFound, 3);
    EXPECT_EQ(outcome.containersWritten, 2);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].source, source / "b.mp4");
    EXPECT_EQ(outcome.failures[0].result.error, WriteError::SourceMissing);
    EXPECT_FALSE(outcome.failures[0].result.describe().empty());
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk", "clips/c.pmpk"}));
}

}  // namespace
}  // namespace mirado
