#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "ReferenceFormat.h"
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

const ContainerKey kKey = asciiKey("secret42");

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

// Everything except the hidden temporary files a failed write could leave.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The header and record leave with the first payload bytes, 256 KiB in all, and later writes are
// 256 KiB: the sizes that end just before, at and after the first and second of those writes, an empty
// payload, and payloads of more than one progress step.
TEST(ContainerWriter, WritesExactlyTheFormatsBytes) {
    constexpr std::size_t kStep = 256u << 10, kFirstWrite = kStep - 732, kProgressStep = ContainerWriter::kChunkSize;
    for (const std::size_t size : {std::size_t(0), std::size_t(5000), kFirstWrite - 1, kFirstWrite, kFirstWrite + 1,
                                   kFirstWrite + kStep, kFirstWrite + kStep + 1, kProgressStep + 1,
                                   3 * kProgressStep + 12345}) {
        SCOPED_TRACE(size);
        TempDir dir;
        const auto payload = patternBytes(size, unsigned(size));
        writeFile(dir / "in/clip.mp4", payload);
        fs::create_directories(dir / "out");

        ContainerWriter writer;
        writer.configure(kKey, true, u"© Mirado 水印", 3, 4, 2);
        ASSERT_TRUE(writer.encipherFile(dir / "in/clip.mp4", dir / "out"));

        auto expected = testing::referencePlainContainer(payload, u"clip.mp4", {u"© Mirado 水印", 3, 4, 2});
        testing::referenceEncipher(expected, kKey);
        auto actual = readFile(dir / "out/clip.pmpk");
        ASSERT_EQ(actual.size(), 732 + payload.size());
        const std::uint32_t mark = u32At(actual, 12);
        EXPECT_GE(mark, 10u);
        EXPECT_LE(mark, 32777u);
        for (int i = 12; i < 16; ++i) actual[std::size_t(i)] = 0;
        const auto differs = std::mismatch(actual.begin(), actual.end(), expected.begin());
        EXPECT_EQ(differs.first - actual.begin(), std::ptrdiff_t(actual.size())) << "the first byte that differs";
    }
}

TEST(ContainerWriter, WithoutWatermarkTheMarkTextAndIndicesAreZero) {
    TempDir dir;
    writeFile(dir / "a.jpg", patternBytes(10));
    ContainerWriter writer;
    writer.configure(kKey, false, u"ignored text", 2, 3, 1);
    ASSERT_TRUE(writer.encipherFile(dir / "a.jpg", dir.path()));
    auto expected = testing::referencePlainContainer(patternBytes(10), u"a.jpg");
    testing::referenceEncipher(expected, kKey);
    EXPECT_EQ(readFile(dir / "a.pmpk"), expected);
}

// Progress comes at every 4 MiB of payload and at its end, once each, though the writes that carry
// the payload do not end there.
TEST(ContainerWriter, ChunkBoundaryKeepsTheKeyPositionRunning) {
    using Reports = std::vector<std::uint64_t>;
    const std::map<std::size_t, Reports> expectedReports = {
        {4194304, {4194304}}, {4194305, {4194304, 4194305}}, {8388608 + 732, {4194304, 8388608, 8388608 + 732}}};
    for (const auto& [size, expected] : expectedReports) {
        SCOPED_TRACE(size);
        TempDir dir;
        const auto payload = patternBytes(size, unsigned(size));
        writeFile(dir / "big.mkv", payload);
        ContainerWriter writer;
        writer.configure(kKey, false, u"", 0, 0, 0);
        std::vector<std::uint64_t> reports;
        ASSERT_TRUE(writer.encipherFile(dir / "big.mkv", dir.path(), [&](std::uint64_t done) {
            reports.push_back(done);
            return true;
        }));
        EXPECT_EQ(reports, expected);
        const auto file = readFile(dir / "big.pmpk");
        ASSERT_EQ(file.size(), 732 + size);
        // Payload byte i uses key byte (4 + i) mod 16; for 4,194,305 bytes the last one opens the second chunk.
        for (std::size_t i : {std::size_t(0), std::size_t(4194303), size - 1}) {
            EXPECT_EQ(file[732 + i], std::uint8_t(payload[i] + kKey[(4 + i) % 16])) << i;
        }
    }
}

TEST(ContainerWriter, NamesAreTheSourceNameCutBeforeItsLastDot) {
    EXPECT_EQ(ContainerWriter::containerNameFor("/x/clip.part1.mp4"), "clip.part1.pmpk");
    EXPECT_EQ(ContainerWriter::containerNameFor("/x/README"), "README.pmpk");
    EXPECT_EQ(ContainerWriter::containerNameFor("/x/trip.2014/movie"), "movie.pmpk");
    EXPECT_EQ(ContainerWriter::containerNameFor("/x/.hidden"), ".pmpk");
    EXPECT_EQ(ContainerWriter::baseNameOf("/x/trip.2014"), "trip");
}

TEST(ContainerWriter, RefusesMissingSourceOrDestinationAndCreatesNothing) {
    TempDir dir;
    writeFile(dir / "a.mp4", patternBytes(100));
    ContainerWriter writer;
    writer.configure(kKey, false, u"", 0, 0, 0);
    EXPECT_EQ(writer.encipherFile(dir / "missing.mp4", dir.path()).error, WriteError::SourceMissing);
    EXPECT_EQ(writer.encipherFile(dir / "a.mp4", dir / "no-such-folder").error, WriteError::DestinationMissing);
    EXPECT_FALSE(fs::exists(dir / "no-such-folder"));
    EXPECT_EQ(writer.encipherFile("", dir.path()).error, WriteError::SourceMissing);
    fs::create_directories(dir / "sub");
    EXPECT_EQ(writer.encipherFile(dir / "sub", dir.path()).error, WriteError::NotAFile);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.mp4", "sub"}));
}

TEST(ContainerWriter, RefusesANameTooLongForTheFileSystem) {
    TempDir dir;
    const std::string longName(251, 'n');  // the source's name fits, the container's does not
    writeFile(dir / (longName + ".a"), patternBytes(10));
    ContainerWriter writer;
    writer.configure(kKey, false, u"", 0, 0, 0);
    const auto result = writer.encipherFile(dir / (longName + ".a"), dir.path());
    EXPECT_EQ(result.error, WriteError::NameTooLong);
    EXPECT_EQ(namesIn(dir.path()).size(), 1u);
}

TEST(ContainerWriter, CancellingLeavesTheEarlierContainerAndNoPartialFile) {
    TempDir dir;
    writeFile(dir / "v.mp4", patternBytes(9 << 20));
    ContainerWriter writer;
    writer.configure(kKey, false, u"", 0, 0, 0);
    writeFile(dir / "v.pmpk", {1, 2, 3});
    const auto result = writer.encipherFile(dir / "v.mp4", dir.path(), [](std::uint64_t done) { return done < (4u << 20); });
    EXPECT_EQ(result.error, WriteError::Cancelled);
    EXPECT_EQ(readFile(dir / "v.pmpk"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"v.mp4", "v.pmpk"}));
}

TEST(ContainerWriter, AFailedWriteKeepsTheEarlierContainerAndLeavesNoTemporaryFile) {
    for (const ContainerVersion version : {ContainerVersion::Compatible, ContainerVersion::Sealed}) {
        SCOPED_TRACE(int(version));
        TempDir dir;
        writeFile(dir / "v.mp4", patternBytes(9 << 20));  // format 2 writes it on two threads
        writeFile(dir / "v.pmpk", {9, 9, 9});
        // The file-size limit makes the write fail half-way; run it in a child so the limit stays there.
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{1 << 20, 1 << 20};
            setrlimit(RLIMIT_FSIZE, &limit);
            ContainerWriter writer;
            writer.setVersion(version, 10);
            writer.configure(kKey, false, u"", 0, 0, 0);
            const auto result = writer.encipherFile(dir / "v.mp4", dir.path());
            _exit(result.error == WriteError::WriteFailed && result.systemError == EFBIG ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the writer must report the failed write";
        EXPECT_EQ(readFile(dir / "v.pmpk"), (std::vector<std::uint8_t>{9, 9, 9}));
        EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"v.mp4", "v.pmpk"}));
    }
}

TEST(ContainerWriter, EncipheringAContainerIntoItsOwnFolderReadsItWholeFirst) {
    TempDir dir;
    const auto original = patternBytes(6 << 20);
    writeFile(dir / "x.pmpk", original);
    ContainerWriter writer;
    writer.configure(kKey, false, u"", 0, 0, 0);
    ASSERT_TRUE(writer.encipherFile(dir / "x.pmpk", dir.path()));
    auto expected = testing::referencePlainContainer(original, u"x.pmpk");
    testing::referenceEncipher(expected, kKey);
    EXPECT_EQ(readFile(dir / "x.pmpk"), expected);
}

TEST(ContainerWriter, SameSourceTwiceDiffersOnlyInTheMark) {
    TempDir dir;
    writeFile(dir / "a.png", patternBytes(300));
    fs::create_directories(dir / "one");
    fs::create_directories(dir / "two");
    ContainerWriter writer;
    writer.configure(kKey, true, u"mark", 1, 1, 1);
    ASSERT_TRUE(writer.encipherFile(dir / "a.png", dir / "one"));
    writer.configure(kKey, true, u"mark", 1, 1, 1);
    ASSERT_TRUE(writer.encipherFile(dir / "a.png", dir / "two"));
    auto one = readFile(dir / "one/a.pmpk"), two = readFile(dir / "two/a.pmpk");
    for (std::size_t i = 12; i < 16; ++i) one[i] = two[i] = 0;
    EXPECT_EQ(one, two);
}

}  // namespace
}  // namespace mirado
