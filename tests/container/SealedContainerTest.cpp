// Format 2 through the writer and the reader: round trips, positioned reads, and a refusal with the
// right reason for every kind of damage.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "ReferenceFormat.h"
#include <fcntl.h>

#include "container/AgeFileWriter.h"
#include "container/AgeFormat.h"
#include "container/ContainerReader.h"
#include "container/ContainerWriter.h"
#include "container/SealedPreamble.h"
#include "tests/support/TempDir.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using testing::asciiKey;
using testing::patternBytes;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

const ContainerKey kKey = asciiKey("Sealed2024");
// Low, so the tests spend their time on the payload; the default is used by mirado-pack's tests.
constexpr int kTestWorkFactor = 10;

fs::path sealFile(const TempDir& dir, const std::string& name, const std::vector<std::uint8_t>& payload,
                  bool watermark = false) {
    writeFile(dir / "in" / name, payload);
    fs::create_directories(dir / "out");
    ContainerWriter writer;
    writer.setVersion(ContainerVersion::Sealed, kTestWorkFactor);
    writer.configure(kKey, watermark, u"机密 copy 7", 3, 1, 2);
    const WriteResult result = writer.encipherFile(dir / "in" / name, dir / "out");
    EXPECT_TRUE(result) << result.describe();
    return dir / "out" / ContainerWriter::containerNameFor(name);
}

// Where the header ends: the payload nonce follows the MAC line.
std::size_t payloadStart(const std::vector<std::uint8_t>& file) {
    const std::string text(file.begin(), file.begin() + std::ptrdiff_t(std::min<std::size_t>(file.size(), 400)));
    return text.find('\n', text.find("\n---")+1) + 1 + age::kPayloadNonceSize;
}

OpenFailure openFailure(const fs::path& path, const ContainerKey& key = kKey) {
    ContainerReader reader;
    reader.setKey(key);
    if (reader.open(path)) return OpenFailure::None;
    EXPECT_EQ(reader.stream(), nullptr);
    EXPECT_TRUE(reader.records().empty());
    return reader.lastOpenFailure();
}

TEST(SealedContainer, RoundTripsEverySizeAroundTheChunkEdges) {
    const std::size_t preamble = SealedPreamble::kSize;
    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(65535), std::size_t(65536),
                             std::size_t(65537), 65536 - preamble, 2 * 65536 - preamble, 2 * 65536 - preamble + 1,
                             std::size_t(9u << 20) + 123}) {
        SCOPED_TRACE(size);
        TempDir dir;
        const auto payload = patternBytes(size, unsigned(size) + 1);
        const fs::path path = sealFile(dir, "clip.mp4", payload);
        // Every 64 KiB of plaintext costs a 16-byte tag; an empty plaintext still has its one chunk.
        const std::uint64_t plaintext = preamble + size;
        const std::uint64_t chunks = (plaintext + 65535) / 65536;
        const std::uint64_t fileSize = fs::file_size(path);
        EXPECT_EQ(fileSize - payloadStart(readFile(path)), plaintext + 16 * chunks);

        ContainerReader reader;
        reader.setKey(kKey);
        ASSERT_TRUE(reader.open(path)) << int(reader.lastOpenFailure());
        EXPECT_EQ(reader.version(), ContainerVersion::Sealed);
        ASSERT_EQ(reader.records().size(), 1u);
        EXPECT_EQ(reader.records().front().payloadOffset, preamble);
        EXPECT_EQ(reader.records().front().payloadSize, size);
        std::vector<std::uint8_t> whole(size);
        std::int64_t got = -1;
        if (size > 0) {
            ASSERT_TRUE(reader.readWholePayload(whole.data(), std::int64_t(size), got));
            EXPECT_EQ(whole, payload);
        }
        std::uint8_t byte = 0;
        EXPECT_EQ(reader.readPayloadAt(size, &byte, 1), 0) << "the end";
        EXPECT_EQ(reader.readPayloadAt(size + 70000, &byte, 1), 0);
    }
}

TEST(SealedContainer, RandomBlocksFromSeveralThreadsEqualOnePass) {
    TempDir dir;
    const auto payload = patternBytes((3u << 20) + 4321, 9);
    const fs::path path = sealFile(dir, "movie.mkv", payload);
    ContainerReader reader;
    reader.setKey(kKey);
    ASSERT_TRUE(reader.open(path));
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            std::mt19937 random(t);
            std::vector<std::uint8_t> block(300000);
            for (int i = 0; i < 60; ++i) {
                const std::uint64_t at = random() % payload.size(), length = 1 + random() % block.size();
                const std::int64_t got = reader.readPayloadAt(at, block.data(), length);
                const std::uint64_t expected = std::min<std::uint64_t>(length, payload.size() - at);
                if (got != std::int64_t(expected) ||
                    !std::equal(block.begin(), block.begin() + std::ptrdiff_t(expected),
                                payload.begin() + std::ptrdiff_t(at))) {
                    ++mismatches;
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches, 0);
}

TEST(SealedContainer, NameAndWatermarkTravelOnlyInsideTheCiphertext) {
    TempDir dir;
    const auto path = sealFile(dir, "假期 holiday.jpg", patternBytes(5000), true);
    const auto file = readFile(path);
    const std::string text(file.begin(), file.end());
    EXPECT_EQ(text.rfind("age-encryption.org/v1\n-> scrypt ", 0), 0u);
    for (const std::string& secret : {std::string("holiday"), std::string("KAVMEROTSUNILQPX"), std::string("Sealed2024")}) {
        EXPECT_EQ(text.find(secret), std::string::npos) << secret;
    }
    ContainerReader reader;
    reader.setKey(kKey);
    ASSERT_TRUE(reader.open(path));
    const auto& record = reader.records().front();
    EXPECT_EQ(record.sourceName, u"假期 holiday.jpg");
    EXPECT_EQ(record.watermarkText, u"机密 copy 7");
    EXPECT_EQ(record.watermarkPosition, 3);
    EXPECT_EQ(record.watermarkColour, 1);
    EXPECT_EQ(record.watermarkFontSize, 2);
    EXPECT_TRUE(reader.isImage());
}

TEST(SealedContainer, AWrongPasswordIsToldApartAndTheRightOneThenOpens) {
    TempDir dir;
    const auto path = sealFile(dir, "a.mp4", patternBytes(100));
    ContainerReader reader;
    for (const char* wrong : {"Sealed2025", "sealed2024", "Sealed20245", "Seale"}) {
        reader.setKey(asciiKey(wrong));
        EXPECT_FALSE(reader.open(path)) << wrong;
        EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::WrongPassword) << wrong;
    }
    reader.setKey(kKey);
    EXPECT_TRUE(reader.open(path));
    EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::None);
}

TEST(SealedContainer, EveryKindOfDamageIsRefusedWithItsReason) {
    TempDir dir;
    const auto payload = patternBytes(5 * 65536, 4);  // six chunks with the preamble
    const auto path = sealFile(dir, "m.mp4", payload);
    const auto good = readFile(path);
    const std::size_t start = payloadStart(good), chunk = age::kSealedChunkSize;
    const auto variant = [&](const std::string& name, auto change) {
        auto bytes = good;
        change(bytes);
        writeFile(dir / (name + ".pmpk"), bytes);
        return dir / (name + ".pmpk");
    };
    const auto flip = [](std::size_t at) { return [at](std::vector<std::uint8_t>& b) { b[at] ^= 0x20; }; };
    const std::string text(good.begin(), good.begin() + std::ptrdiff_t(start));

    // Opening reads the header, the first chunk (the preamble) and the last chunk: damage there is
    // found at once.
    struct Case {
        std::string name;
        fs::path path;
    };
    const std::vector<Case> refused = {
        {"version line", variant("version", flip(text.find("v1") + 1))},
        {"MAC", variant("mac", flip(text.find("--- ") + 6))},
        {"payload nonce", variant("nonce", flip(start - 3))},
        {"preamble", variant("preamble", flip(start + 20))},
        {"last chunk", variant("last", flip(good.size() - 5))},
        {"cut at a chunk boundary", variant("cut-boundary", [&](auto& b) { b.resize(start + 3 * chunk); })},
        {"cut inside a chunk", variant("cut-inside", [&](auto& b) { b.resize(b.size() - 100); })},
        {"cut inside the header", variant("cut-header", [&](auto& b) { b.resize(start - 20); })},
        {"bytes appended", variant("appended", [](auto& b) { b.push_back(0); })},
        {"a whole chunk appended", variant("chunk-appended", [&](auto& b) {
             b.insert(b.end(), good.begin() + std::ptrdiff_t(start), good.begin() + std::ptrdiff_t(start + chunk));
         })},
    };
    for (const Case& c : refused) EXPECT_EQ(openFailure(c.path), OpenFailure::Damaged) << c.name;
    // The stanza is checked only by unwrapping the file key, so a changed salt or wrapped key looks
    // exactly like a wrong password (as it does to age itself).
    const auto otherBase64 = [](std::size_t at) {
        return [at](std::vector<std::uint8_t>& b) { b[at] = b[at] == 'A' ? 'B' : 'A'; };
    };
    EXPECT_EQ(openFailure(variant("salt", otherBase64(text.find("scrypt ") + 9))), OpenFailure::WrongPassword);
    EXPECT_EQ(openFailure(variant("body", otherBase64(text.find('\n', text.find("-> ")) + 3))),
              OpenFailure::WrongPassword);
    EXPECT_EQ(openFailure(variant("work-factor", [&](auto& b) { b[text.find(" 10\n") + 2] = '1'; })),
              OpenFailure::WrongPassword);

    // A chunk in between is checked when it is read: the read fails, the chunks around it still read.
    const auto middle = variant("middle", flip(start + 2 * chunk + 77));
    const auto swapped = variant("swapped", [&](auto& b) {
        std::swap_ranges(b.begin() + std::ptrdiff_t(start + chunk), b.begin() + std::ptrdiff_t(start + 2 * chunk),
                         b.begin() + std::ptrdiff_t(start + 2 * chunk));
    });
    for (const fs::path& path : {middle, swapped}) {
        ContainerReader reader;
        reader.setKey(kKey);
        ASSERT_TRUE(reader.open(path)) << path;
        std::vector<std::uint8_t> block(65536);
        const std::uint64_t secondChunkMedia = 2 * 65536 - SealedPreamble::kSize;  // media position of chunk 2
        EXPECT_EQ(reader.readPayloadAt(secondChunkMedia + 10, block.data(), 100), -1) << path;
        EXPECT_EQ(reader.readPayloadAt(0, block.data(), 1000), 1000) << "chunk 0 is sound";
        EXPECT_EQ(reader.readPayloadAt(4 * 65536, block.data(), 1000), 1000) << "chunk 4 is sound";
        std::int64_t got = 0;
        std::vector<std::uint8_t> whole(payload.size());
        EXPECT_FALSE(reader.readWholePayload(whole.data(), std::int64_t(whole.size()), got));
    }
}

TEST(SealedContainer, NoChangedByteOfTheHeaderOrFirstChunkOpens) {
    TempDir dir;
    const auto path = sealFile(dir, "m.mp4", patternBytes(3000));
    const auto good = readFile(path);
    const std::size_t end = payloadStart(good) + 64;  // the header, the nonce and the first chunk's start
    for (std::size_t at = 0; at < end; ++at) {
        auto bytes = good;
        bytes[at] ^= std::uint8_t(at % 2 ? 0x01 : 0x80);  // a neighbouring character, or no text at all
        writeFile(dir / "changed.pmpk", bytes);
        const OpenFailure failure = openFailure(dir / "changed.pmpk");
        EXPECT_TRUE(failure == OpenFailure::Damaged || failure == OpenFailure::WrongPassword ||
                    failure == OpenFailure::Unsupported)
            << "byte " << at << " gave " << int(failure);
    }
}

TEST(SealedContainer, AWorkFactorAboveTheLimitIsRefusedBeforeAnythingIsDerived) {
    TempDir dir;
    const auto path = sealFile(dir, "m.mp4", patternBytes(1000));
    auto bytes = readFile(path);
    std::string text(bytes.begin(), bytes.end());
    const std::string factor = " " + std::to_string(kTestWorkFactor) + "\n";
    const std::size_t at = text.find(factor);
    ASSERT_NE(at, std::string::npos);
    for (const char* refused : {" 23\n", " 30\n"}) {
        std::string changed = text;
        changed.replace(at, factor.size(), refused);
        writeFile(dir / "hostile.pmpk", std::vector<std::uint8_t>(changed.begin(), changed.end()));
        const auto began = std::chrono::steady_clock::now();
        EXPECT_EQ(openFailure(dir / "hostile.pmpk"), OpenFailure::Unsupported) << refused;
        // Deriving with 2^23 would take 8 GiB and many seconds; refusing takes nothing.
        EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(3));
    }
}

TEST(SealedContainer, TheWriterRefusesWorkFactorsAgeRefusesAndKeepsTheVersion) {
    TempDir dir;
    writeFile(dir / "a.mp4", patternBytes(10));
    ContainerWriter writer;
    EXPECT_EQ(writer.version(), ContainerVersion::Compatible);
    for (int refused : {0, -1, 23}) {
        writer.setVersion(ContainerVersion::Sealed, refused);
        writer.configure(kKey, false, u"", 0, 0, 0);
        const WriteResult result = writer.encipherFile(dir / "a.mp4", dir.path());
        EXPECT_EQ(result.error, WriteError::WorkFactorRefused) << refused;
        EXPECT_EQ(result.describe(), "the work factor must be a number from 1 to 22");
        EXPECT_FALSE(fs::exists(dir / "a.pmpk"));
    }
    writer.setVersion(ContainerVersion::Sealed, kTestWorkFactor);
    for (const char* name : {"one.mp4", "two.mp4"}) {
        writeFile(dir / name, patternBytes(10));
        writer.configure(kKey, false, u"", 0, 0, 0);
        ASSERT_TRUE(writer.encipherFile(dir / name, dir.path()));
        ContainerReader reader;
        reader.setKey(kKey);
        ASSERT_TRUE(reader.open(dir / ContainerWriter::containerNameFor(name)));
        EXPECT_EQ(reader.version(), ContainerVersion::Sealed) << "the version stays for every following file";
    }
    writer.setVersion(ContainerVersion::Compatible);
    writer.configure(kKey, false, u"", 0, 0, 0);
    ASSERT_TRUE(writer.encipherFile(dir / "a.mp4", dir.path()));
    EXPECT_EQ(fs::file_size(dir / "a.pmpk"), 742u);
}

// The body is written from the head's precomputed length while scrypt still runs; the work factor's
// digits are the one part of that length that varies.
TEST(SealedContainer, TheBodyStartsWhereTheHeadEndsForEveryWidthOfWorkFactor) {
    TempDir dir;
    const auto payload = patternBytes(700000, 4);
    writeFile(dir / "in.mp4", payload);
    for (int workFactor : {1, 9, 10}) {
        const fs::path folder = dir / std::to_string(workFactor);
        fs::create_directories(folder);
        ContainerWriter writer;
        writer.setVersion(ContainerVersion::Sealed, workFactor);
        writer.configure(kKey, false, u"", 0, 0, 0);
        ASSERT_TRUE(writer.encipherFile(dir / "in.mp4", folder)) << workFactor;
        const fs::path path = folder / "in.pmpk";
        EXPECT_EQ(payloadStart(readFile(path)), AgeFileWriter::headSize(workFactor)) << workFactor;
        ContainerReader reader;
        reader.setKey(kKey);
        ASSERT_TRUE(reader.open(path)) << workFactor;
        std::vector<std::uint8_t> back(payload.size());
        ASSERT_EQ(reader.readPayloadAt(0, back.data(), back.size()), std::int64_t(back.size()));
        EXPECT_EQ(back, payload) << workFactor;
    }
}

// Keys wrapped ahead for one password or work factor must never seal a container written under
// another: the writer drops them when either changes.
TEST(SealedContainer, KeysWrappedAheadAreDroppedWhenThePasswordOrWorkFactorChanges) {
    TempDir dir;
    writeFile(dir / "in.mp4", patternBytes(100000, 5));
    const ContainerKey other = asciiKey("Another99");
    ContainerWriter writer;
    writer.setVersion(ContainerVersion::Sealed, kTestWorkFactor);
    const auto write = [&](const ContainerKey& key, const char* name, std::size_t followers) {
        writer.configure(key, false, u"", 0, 0, 0);
        writer.expectFollowers(followers);
        ASSERT_TRUE(writer.encipherFileAs(dir / "in.mp4", dir.path(), name));
    };
    write(kKey, "first.pmpk", 3);
    write(other, "second.pmpk", 2);
    writer.setVersion(ContainerVersion::Sealed, kTestWorkFactor + 1);
    write(other, "third.pmpk", 0);
    EXPECT_EQ(openFailure(dir / "first.pmpk"), OpenFailure::None);
    EXPECT_EQ(openFailure(dir / "second.pmpk", other), OpenFailure::None);
    EXPECT_NE(openFailure(dir / "second.pmpk"), OpenFailure::None);
    EXPECT_EQ(openFailure(dir / "third.pmpk", other), OpenFailure::None);
    const auto third = readFile(dir / "third.pmpk");
    const std::string head(third.begin(), third.begin() + 120);
    EXPECT_NE(head.find(" " + std::to_string(kTestWorkFactor + 1) + "\n"), std::string::npos) << head;
}

TEST(SealedContainer, ProgressCountsSourceBytesAndCancelLeavesNothing) {
    TempDir dir;
    const auto payload = patternBytes((9u << 20) + 5, 2);
    writeFile(dir / "big.mp4", payload);
    ContainerWriter writer;
    writer.setVersion(ContainerVersion::Sealed, kTestWorkFactor);
    writer.configure(kKey, false, u"", 0, 0, 0);
    std::vector<std::uint64_t> reported;
    ASSERT_TRUE(writer.encipherFile(dir / "big.mp4", dir.path(), [&](std::uint64_t done) {
        reported.push_back(done);
        return true;
    }));
    ASSERT_FALSE(reported.empty());
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    EXPECT_EQ(reported.back(), payload.size());
    EXPECT_GE(reported.size(), 3u);

    fs::remove(dir / "big.pmpk");
    writer.configure(kKey, false, u"", 0, 0, 0);
    const WriteResult cancelled = writer.encipherFile(dir / "big.mp4", dir.path(), [](std::uint64_t) { return false; });
    EXPECT_EQ(cancelled.error, WriteError::Cancelled);
    for (const auto& entry : fs::directory_iterator(dir.path())) EXPECT_EQ(entry.path().filename(), "big.mp4");
}

// Positions beyond 4 GiB: a container of a 4 GiB + 70001 byte source, with only the chunks that matter
// sealed and the rest left as holes, so the test neither writes nor reads gigabytes.
TEST(SealedContainer, PositionsBeyondFourGibibytesReadTheirOwnChunks) {
    TempDir dir;
    const std::uint64_t size = (std::uint64_t(1) << 32) + 70001;
    const std::uint64_t plaintextSize = SealedPreamble::kSize + size;
    const std::uint64_t chunkCount = AgeFileWriter::chunkCount(plaintextSize);
    AgeFileWriter age;
    ASSERT_TRUE(age.begin());
    ASSERT_TRUE(age.sealHead(passphraseOf(kKey), kTestWorkFactor));
    // The plaintext of chunk i: the preamble in chunk 0, and a pattern that tells every chunk apart.
    ContainerInfoRecord record;
    record.payloadSize = size;
    record.sourceName = u"huge.mkv";
    const auto preamble = SealedPreamble::toBytes(record);
    const auto plainChunk = [&](std::uint64_t index) {
        const std::uint64_t from = index * age::kChunkSize;
        auto bytes = patternBytes(std::size_t(std::min<std::uint64_t>(age::kChunkSize, plaintextSize - from)),
                                  unsigned(index) + 1);
        if (index == 0) std::copy(preamble.begin(), preamble.end(), bytes.begin());
        return bytes;
    };
    const int fd = ::open((dir / "huge.pmpk").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, age.head().data(), age.head().size()), ssize_t(age.head().size()));
    const std::uint64_t beyond = (std::uint64_t(1) << 32) / age::kChunkSize;  // the chunk at 4 GiB of plaintext
    crypto::ChaCha20Poly1305 aead;
    for (std::uint64_t index : {std::uint64_t(0), beyond - 1, beyond, chunkCount - 1}) {
        const auto plain = plainChunk(index);
        std::vector<std::uint8_t> sealed(plain.size() + 16);
        ASSERT_TRUE(age.sealChunk(aead, index, index + 1 == chunkCount, plain.data(), plain.size(), sealed.data()));
        const off_t at = off_t(age.head().size() + index * age::kSealedChunkSize);
        ASSERT_EQ(::pwrite(fd, sealed.data(), sealed.size(), at), ssize_t(sealed.size()));
    }
    ::close(fd);
    ASSERT_EQ(fs::file_size(dir / "huge.pmpk"), age.fileSize(plaintextSize));

    ContainerReader reader;
    reader.setKey(kKey);
    ASSERT_TRUE(reader.open(dir / "huge.pmpk")) << int(reader.lastOpenFailure());
    EXPECT_EQ(reader.records().front().payloadSize, size);
    // A read across the 4 GiB line of the plaintext, and one at the media's very end.
    const std::uint64_t across = (std::uint64_t(1) << 32) - SealedPreamble::kSize - 100;
    std::vector<std::uint8_t> block(200);
    ASSERT_EQ(reader.readPayloadAt(across, block.data(), block.size()), 200);
    const auto before = plainChunk(beyond - 1), after = plainChunk(beyond);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 100, before.end() - 100));
    EXPECT_TRUE(std::equal(block.begin() + 100, block.end(), after.begin()));
    ASSERT_EQ(reader.readPayloadAt(size - 10, block.data(), block.size()), 10);
    const auto last = plainChunk(chunkCount - 1);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 10, last.end() - 10));
    EXPECT_EQ(reader.readPayloadAt(std::uint64_t(1) << 31, block.data(), 10), -1) << "a hole fails its check";
}

}  // namespace
}  // namespace mirado
