#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "ReferenceFormat.h"
#include "container/ContainerReader.h"
#include "container/FileKinds.h"
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

const ContainerKey kKey = asciiKey("Open5esame");

// A container written by the reference rules, so the reader is tested against the format itself.
fs::path makeContainer(const TempDir& dir, const std::string& name, const std::vector<std::uint8_t>& payload,
                       const std::u16string& sourceName = u"movie.mp4", const testing::ReferenceWatermark& mark = {}) {
    auto file = testing::referencePlainContainer(payload, sourceName, mark);
    testing::referenceEncipher(file, kKey);
    writeFile(dir / name, file);
    return dir / name;
}

TEST(ContainerReader, OpensWithTheRightKeyAndKeepsTheRecord) {
    TempDir dir;
    const auto path = makeContainer(dir, "m.pmpk", patternBytes(2000), u"假期 clip.mp4", {u"水印 text", 2, 3, 1});
    ContainerReader reader;
    reader.setKey(kKey);
    ASSERT_TRUE(reader.open(path));
    ASSERT_EQ(reader.records().size(), 1u);
    const auto& record = reader.records().front();
    EXPECT_EQ(record.payloadOffset, 732u);
    EXPECT_EQ(record.payloadSize, 2000u);
    EXPECT_EQ(record.sourceName, u"假期 clip.mp4");
    EXPECT_EQ(record.watermarkText, u"水印 text");
    EXPECT_EQ(record.watermarkPosition, 2);
    EXPECT_EQ(record.watermarkColour, 3);
    EXPECT_EQ(record.watermarkFontSize, 1);
    ASSERT_NE(reader.stream(), nullptr);
    EXPECT_EQ(ftello(reader.stream()), 732);
    EXPECT_FALSE(reader.isImage());
    std::uint8_t key[16];
    reader.copyKey(key);
    EXPECT_TRUE(std::equal(key, key + 16, kKey.begin()));
}

TEST(ContainerReader, EverySingleByteChangeOfTheKeyFailsAndTheRightKeyThenOpens) {
    TempDir dir;
    const auto path = makeContainer(dir, "m.pmpk", patternBytes(100));
    ContainerReader reader;
    for (std::size_t i = 0; i < 16; ++i) {
        for (int delta : {1, 128, 255}) {
            ContainerKey wrong = kKey;
            wrong[i] = std::uint8_t(wrong[i] + delta);
            reader.setKey(wrong);
            EXPECT_FALSE(reader.open(path)) << "byte " << i << " +" << delta;
            EXPECT_EQ(reader.stream(), nullptr);
            EXPECT_TRUE(reader.records().empty());
        }
    }
    reader.setKey(kKey);
    EXPECT_TRUE(reader.open(path));
    EXPECT_TRUE(reader.open(path));
    EXPECT_EQ(reader.records().size(), 1u) << "opening again replaces the record";
}

TEST(ContainerReader, RecognisesContainersByExtensionCountAndCheckValueOnly) {
    TempDir dir;
    auto file = testing::referencePlainContainer(patternBytes(64), u"a.mp4");
    testing::referenceEncipher(file, kKey);
    for (std::size_t i = 0; i < 24; ++i) file[i] = std::uint8_t(0xA5 ^ i);  // arbitrary header
    writeFile(dir / "upper.PMPK", file);
    writeFile(dir / "other.mp4", file);
    writeFile(dir / "folder.pmpk.d/x", {});

    ContainerReader reader;
    reader.setKey(kKey);
    EXPECT_TRUE(reader.open(dir / "upper.PMPK"));
    ContainerReader second;
    second.setKey(kKey);
    EXPECT_FALSE(second.open(dir / "other.mp4"));
    EXPECT_FALSE(second.open(dir / "missing.pmpk"));
    EXPECT_FALSE(second.open(dir / "folder.pmpk.d"));

    // A record count other than 1 is refused even with the right check value.
    auto twoRecords = testing::referencePlainContainer(patternBytes(64), u"a.mp4");
    twoRecords[24] = 2;
    testing::referenceEncipher(twoRecords, kKey);
    writeFile(dir / "two.pmpk", twoRecords);
    EXPECT_FALSE(second.open(dir / "two.pmpk"));
}

// A FIFO or a device named like a container is refused at once: opening it for reading would wait
// for a writer (the test would hang), and a device would never end.
TEST(ContainerReader, OnlyRegularFilesAreOpened) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.pmpk").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir / "zero.pmpk").c_str()), 0);
    const auto linked = makeContainer(dir, "real.pmpk", patternBytes(100));
    ASSERT_EQ(::symlink(linked.c_str(), (dir / "link.pmpk").c_str()), 0);
    ContainerReader reader;
    reader.setKey(kKey);
    EXPECT_FALSE(reader.open(dir / "pipe.pmpk"));
    EXPECT_FALSE(reader.open(dir / "zero.pmpk"));
    EXPECT_TRUE(reader.open(dir / "link.pmpk")) << "a link to a container is a container";
}

TEST(ContainerReader, TruncatedContainers) {
    TempDir dir;
    const auto path = makeContainer(dir, "full.pmpk", patternBytes(5000));
    const auto whole = readFile(path);
    const auto cut = [&](std::size_t size) {
        const auto name = "cut" + std::to_string(size) + ".pmpk";
        writeFile(dir / name, std::vector<std::uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(size)));
        return dir / name;
    };
    ContainerReader reader;
    reader.setKey(kKey);
    for (std::size_t size : {0u, 10u, 24u, 27u, 28u, 400u, 731u}) EXPECT_FALSE(reader.open(cut(size))) << size;

    ASSERT_TRUE(reader.open(cut(732 + 1000)));
    std::vector<std::uint8_t> buffer(5000);
    std::int64_t got = -1;
    EXPECT_FALSE(reader.readWholePayload(buffer.data(), 5000, got));
    EXPECT_EQ(got, 1000);
}

TEST(ContainerReader, ReadWholePayloadRoundTripsTheWriter) {
    TempDir dir;
    const auto payload = patternBytes(3 * 4096 + 77);
    writeFile(dir / "photo.JPEG", payload);
    ContainerWriter writer;
    writer.configure(kKey, true, u"wm", 0, 0, 0);
    ASSERT_TRUE(writer.encipherFile(dir / "photo.JPEG", dir.path()));

    ContainerReader reader;
    reader.setKey(kKey);
    ASSERT_TRUE(reader.open(dir / "photo.pmpk"));
    EXPECT_TRUE(reader.isImage());
    std::vector<std::uint8_t> buffer(payload.size());
    std::int64_t got = 0;
    ASSERT_TRUE(reader.readWholePayload(buffer.data(), std::int64_t(buffer.size()), got));
    EXPECT_EQ(buffer, payload);
    EXPECT_FALSE(reader.readWholePayload(nullptr, 10, got));
    EXPECT_FALSE(reader.readWholePayload(buffer.data(), 0, got));
    reader.close();
    EXPECT_FALSE(reader.readWholePayload(buffer.data(), 10, got));
    EXPECT_EQ(reader.records().size(), 1u) << "closing keeps the record";
}

TEST(ContainerReader, BlocksDecipheredByOffsetEqualOnePass) {
    TempDir dir;
    const auto payload = patternBytes(20000);
    const auto path = makeContainer(dir, "m.pmpk", payload);
    const auto file = readFile(path);
    ContainerReader reader;
    reader.setKey(kKey);
    ASSERT_TRUE(reader.open(path));

    // Random cuts from offset 24 to the end, each block positioned by its own offset and handled in a
    // shuffled order, as an engine reading after seeks would.
    std::mt19937 random(7);
    std::vector<std::pair<std::size_t, std::size_t>> blocks;
    for (std::size_t at = 24; at < file.size();) {
        const std::size_t length = std::min<std::size_t>(1 + random() % 3000, file.size() - at);
        blocks.emplace_back(at, length);
        at += length;
    }
    std::shuffle(blocks.begin(), blocks.end(), random);
    auto deciphered = file;
    for (auto [at, length] : blocks) {
        ASSERT_TRUE(reader.decipherAt(deciphered.data() + at, std::int64_t(length), std::int64_t(at)));
    }
    const auto plain = testing::referencePlainContainer(payload, u"movie.mp4");
    EXPECT_TRUE(std::equal(plain.begin() + 24, plain.end(), deciphered.begin() + 24));
}

TEST(ContainerReader, ReadPayloadAtGivesMediaBytesFromAnyPositionAndStopsAtTheEnd) {
    TempDir dir;
    const auto payload = patternBytes(70000);
    const auto path = makeContainer(dir, "m.pmpk", payload);
    ContainerReader reader;
    EXPECT_EQ(reader.readPayloadAt(0, nullptr, 0), -1) << "nothing open";
    reader.setKey(kKey);
    ASSERT_TRUE(reader.open(path));
    EXPECT_EQ(reader.version(), ContainerVersion::Compatible);
    EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::None);
    std::mt19937 random(3);
    std::vector<std::uint8_t> block(9000);
    for (int i = 0; i < 200; ++i) {
        const std::uint64_t at = random() % payload.size(), length = 1 + random() % block.size();
        const std::int64_t got = reader.readPayloadAt(at, block.data(), length);
        ASSERT_EQ(got, std::int64_t(std::min<std::uint64_t>(length, payload.size() - at)));
        ASSERT_TRUE(std::equal(block.begin(), block.begin() + got, payload.begin() + std::ptrdiff_t(at))) << at;
    }
    EXPECT_EQ(reader.readPayloadAt(payload.size(), block.data(), 10), 0);
    EXPECT_EQ(reader.readPayloadAt(payload.size() + 5, block.data(), 10), 0);
    // The stream stays where the engine expects it.
    EXPECT_EQ(ftello(reader.stream()), 732);
}

// A hostile record may claim a payload of nearly 2^64 bytes: positions far beyond the file read as
// its end, without an offset overflowing on the way.
TEST(ContainerReader, APayloadSizeNoFileCanHoldReadsNothingFarBeyondTheFile) {
    TempDir dir;
    const auto payload = patternBytes(1000);
    auto file = testing::referencePlainContainer(payload, u"movie.mp4");
    for (int i = 0; i < 8; ++i) file[36 + std::size_t(i)] = i == 7 ? 0x7f : 0xff;  // payload size 2^63 - 1
    testing::referenceEncipher(file, kKey);
    writeFile(dir / "huge.pmpk", file);
    ContainerReader reader;
    reader.setKey(kKey);
    ASSERT_TRUE(reader.open(dir / "huge.pmpk"));
    std::vector<std::uint8_t> block(64);
    EXPECT_EQ(reader.readPayloadAt(0, block.data(), block.size()), 64);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), payload.begin()));
    for (std::uint64_t at : {std::uint64_t(5000), (std::uint64_t(1) << 62), (std::uint64_t(1) << 63) - 2}) {
        EXPECT_EQ(reader.readPayloadAt(at, block.data(), block.size()), 0) << at;
    }
}

TEST(ContainerReader, TellsWhyAnOpenFailed) {
    TempDir dir;
    const auto path = makeContainer(dir, "m.pmpk", patternBytes(100));
    writeFile(dir / "short.pmpk", patternBytes(500));
    writeFile(dir / "m.mp4", readFile(path));
    ContainerReader reader;
    reader.setKey(asciiKey("Wrong5esame"));
    EXPECT_FALSE(reader.open(path));
    EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::WrongPassword);
    EXPECT_FALSE(reader.open(dir / "short.pmpk"));
    EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::Damaged);
    EXPECT_FALSE(reader.open(dir / "m.mp4"));
    EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::Unreadable);
    EXPECT_FALSE(reader.open(dir / "missing.pmpk"));
    EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::Unreadable);
    reader.setKey(kKey);
    EXPECT_TRUE(reader.open(path));
    EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::None);
}

TEST(ContainerReader, DecipherAtPositionsAndContinuation) {
    ContainerReader reader;
    reader.setKey(kKey);
    std::uint8_t block[4] = {0, 0, 0, 0};
    ASSERT_TRUE(reader.decipherAt(block, 1, 732));
    EXPECT_EQ(block[0], std::uint8_t(-kKey[4]));
    ASSERT_TRUE(reader.decipherAt(block + 1, 1, 1000));
    EXPECT_EQ(block[1], std::uint8_t(-kKey[0]));
    ASSERT_TRUE(reader.decipherAt(block + 2, 1, -1)) << "-1 continues after offset 1000";
    EXPECT_EQ(block[2], std::uint8_t(-kKey[1]));

    std::uint8_t header[3] = {5, 6, 7};
    EXPECT_FALSE(reader.decipherAt(header, 3, 23));
    EXPECT_EQ(header[0], 5);
    EXPECT_FALSE(reader.decipherAt(nullptr, 3, 100));
    EXPECT_FALSE(reader.decipherAt(header, 0, 100));
    EXPECT_TRUE(reader.decipherAt(header, -5, 100)) << "a negative length deciphers nothing";
    EXPECT_EQ(header[0], 5);
}

TEST(ContainerReader, OffsetsBeyondFourGibibytesKeepTheirKeyPosition) {
    ContainerReader reader;
    reader.setKey(kKey);
    for (std::int64_t offset : {std::int64_t(1) << 31, (std::int64_t(1) << 32) + 5, (std::int64_t(1) << 40) + 3}) {
        auto block = patternBytes(40, unsigned(offset));
        auto expected = block;
        for (std::size_t i = 0; i < block.size(); ++i) {
            expected[i] = std::uint8_t(expected[i] - testing::keyByteAt(kKey, offset + std::int64_t(i)));
        }
        PayloadReadHook(&reader, block.data(), std::int32_t(block.size()), offset);
        EXPECT_EQ(block, expected) << offset;
    }
}

TEST(ContainerReader, ReadHookIgnoresMissingArgumentsAndHeaderBlocks) {
    ContainerReader reader;
    reader.setKey(kKey);
    auto block = patternBytes(8);
    const auto before = block;
    PayloadReadHook(nullptr, block.data(), 8, 100);
    PayloadReadHook(&reader, nullptr, 8, 100);
    PayloadReadHook(&reader, block.data(), 0, 100);
    PayloadReadHook(&reader, block.data(), 8, 0);
    EXPECT_EQ(block, before);
}

TEST(FileKinds, ImageAndContainerNames) {
    EXPECT_TRUE(IsContainerPath("/a/b/movie.PmPk"));
    EXPECT_FALSE(IsContainerPath("/a/b.pmpk/movie"));
    EXPECT_FALSE(IsContainerPath("pmpk.mp4"));
    EXPECT_TRUE(IsContainerPath("pmpk")) << "a path without a dot is its own extension";
    EXPECT_TRUE(IsImagePath(u"photo.JPEG"));
    EXPECT_TRUE(IsImagePath("x.gif"));
    EXPECT_TRUE(IsImagePath("scan.tif"));
    EXPECT_TRUE(IsImagePath(u"scan.TIFF"));
    EXPECT_FALSE(IsImagePath(u"scan.tiff2"));
    EXPECT_FALSE(IsImagePath(u"photo.jpe"));
    EXPECT_FALSE(IsImagePath(u"clip.mp4"));
    EXPECT_FALSE(IsImagePath(u"README"));
    EXPECT_FALSE(IsImagePath("x." + std::string(64, 'j')));
}

}  // namespace
}  // namespace mirado
