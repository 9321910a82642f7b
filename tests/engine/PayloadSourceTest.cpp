#include "engine/PayloadSource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/support/TempDir.h"

namespace mirado {
namespace {

using testing::patternBytes;
using testing::TempDir;

// Checks every block against the file at the offset the hook is told, then marks it as handled.
struct CheckingHook {
    std::vector<std::uint8_t> file;
    std::mutex mutex;
    std::vector<std::pair<std::int64_t, std::int32_t>> calls;
    std::atomic<int> mismatches{0};

    static void hook(void* context, void* data, std::int32_t length, std::int64_t offset) {
        auto* self = static_cast<CheckingHook*>(context);
        auto* bytes = static_cast<std::uint8_t*>(data);
        for (std::int32_t i = 0; i < length; ++i) {
            if (offset + i >= std::int64_t(self->file.size()) || bytes[i] != self->file[std::size_t(offset + i)])
                ++self->mismatches;
            bytes[i] = std::uint8_t(~bytes[i]);
        }
        std::lock_guard lock(self->mutex);
        self->calls.emplace_back(offset, length);
    }
};

class PayloadSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        checker.file = patternBytes(5000, 7);
        testing::writeFile(folder / "payload.bin", checker.file);
        stream = std::fopen((folder / "payload.bin").c_str(), "rb");
        ASSERT_NE(stream, nullptr);
    }
    void TearDown() override {
        if (stream != nullptr) std::fclose(stream);
    }

    TempDir folder;
    std::FILE* stream = nullptr;
    CheckingHook checker;
};

TEST_F(PayloadSourceTest, PositionsMapToFileOffsetsPastThePayloadStart) {
    auto source = PayloadSource::create(stream, 732, 4268, &CheckingHook::hook, &checker);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->size(), 4268);
    std::uint8_t block[50];
    ASSERT_EQ(source->read(100, block, sizeof block), 50);
    ASSERT_EQ(checker.calls.size(), 1u);
    EXPECT_EQ(checker.calls[0], std::make_pair(std::int64_t(832), std::int32_t(50)));
    EXPECT_EQ(checker.mismatches, 0);
    EXPECT_EQ(block[0], std::uint8_t(~checker.file[832]));  // the caller sees the hook's result
    EXPECT_EQ(block[49], std::uint8_t(~checker.file[881]));
}

TEST_F(PayloadSourceTest, ReadsStopAtThePayloadEnd) {
    auto source = PayloadSource::create(stream, 732, 1000, &CheckingHook::hook, &checker);
    ASSERT_TRUE(source);
    std::uint8_t block[64];
    EXPECT_EQ(source->read(990, block, sizeof block), 10);
    EXPECT_EQ(source->read(1000, block, sizeof block), 0);
    EXPECT_EQ(source->read(5000, block, sizeof block), 0);
    ASSERT_EQ(checker.calls.size(), 1u);
    EXPECT_EQ(checker.calls[0].first, 732 + 990);
}

TEST_F(PayloadSourceTest, AFileCutShortPresentsWhatIsThere) {
    auto source = PayloadSource::create(stream, 732, 100000, &CheckingHook::hook, &checker);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->size(), 5000 - 732);
    std::uint8_t block[64];
    EXPECT_EQ(source->read(5000 - 732 - 4, block, sizeof block), 4);

    EXPECT_FALSE(PayloadSource::create(stream, 5001, 10, &CheckingHook::hook, &checker));
    EXPECT_TRUE(PayloadSource::create(stream, 5000, 10, &CheckingHook::hook, &checker));
}

TEST_F(PayloadSourceTest, RefusesMissingStreamOrHook) {
    EXPECT_FALSE(PayloadSource::create(nullptr, 732, 10, &CheckingHook::hook, &checker));
    EXPECT_FALSE(PayloadSource::create(stream, 732, 10, nullptr, &checker));
}

TEST_F(PayloadSourceTest, OutlivesTheCallersStream) {
    auto source = PayloadSource::create(stream, 732, 4268, &CheckingHook::hook, &checker);
    ASSERT_TRUE(source);
    std::fclose(stream);
    stream = nullptr;
    std::uint8_t block[16];
    EXPECT_EQ(source->read(0, block, sizeof block), 16);
    EXPECT_EQ(checker.mismatches, 0);
}

TEST_F(PayloadSourceTest, DetachedSourceNeverCallsTheHookAgain) {
    auto source = PayloadSource::create(stream, 732, 4268, &CheckingHook::hook, &checker);
    ASSERT_TRUE(source);
    source->detach();
    std::uint8_t block[16];
    EXPECT_EQ(source->read(0, block, sizeof block), -1);
    EXPECT_TRUE(checker.calls.empty());
}

TEST_F(PayloadSourceTest, ConcurrentReadersEachGetTheirOwnOffsets) {
    auto source = PayloadSource::create(stream, 732, 4268, &CheckingHook::hook, &checker);
    ASSERT_TRUE(source);
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&, t] {
            std::uint8_t block[97];
            for (std::uint64_t position = std::uint64_t(t) * 13; position < 4268; position += 97) {
                const std::int64_t got = source->read(position, block, sizeof block);
                for (std::int64_t i = 0; i < got; ++i) {
                    if (block[i] != std::uint8_t(~checker.file[732 + position + std::uint64_t(i)])) ++wrong;
                }
            }
        });
    }
    for (auto& reader : readers) reader.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(checker.mismatches, 0);
    EXPECT_GT(checker.calls.size(), 4u * 40);
}


// Media bytes by position, as a sealed container hands them out: each byte is its position's low byte,
// and the read at `failAt` fails as a damaged chunk does.
struct PositionalMedia {
    std::uint64_t failAt = UINT64_MAX;
    std::atomic<int> calls{0};
    std::mutex mutex;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> asked;

    static std::int64_t read(void* context, std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) {
        auto* self = static_cast<PositionalMedia*>(context);
        ++self->calls;
        {
            std::lock_guard lock(self->mutex);
            self->asked.emplace_back(position, length);
        }
        if (position <= self->failAt && self->failAt < position + length) return -1;
        for (std::uint64_t i = 0; i < length; ++i) buffer[i] = std::uint8_t(position + i);
        return std::int64_t(length);
    }
};

TEST(PositionalPayloadSource, HandsOutTheReadersBytesByPositionUpToTheSize) {
    PositionalMedia media;
    auto source = PayloadSource::create(&PositionalMedia::read, &media, 1000);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->size(), 1000);
    std::uint8_t block[64];
    ASSERT_EQ(source->read(300, block, sizeof block), 64);
    EXPECT_EQ(block[0], std::uint8_t(300));
    EXPECT_EQ(block[63], std::uint8_t(363));
    EXPECT_EQ(source->read(990, block, sizeof block), 10);  // never asked past the size
    EXPECT_EQ(source->read(1000, block, sizeof block), 0);
    ASSERT_EQ(media.asked.size(), 2u);
    EXPECT_EQ(media.asked[1], std::make_pair(std::uint64_t(990), std::uint64_t(10)));
    EXPECT_FALSE(source->failed());

    EXPECT_FALSE(PayloadSource::create(nullptr, &media, 1000));
    EXPECT_FALSE(PayloadSource::create(&PositionalMedia::read, &media, 0));
}

TEST(PositionalPayloadSource, AFailedReadMarksTheSourceAndHandsOutNothingMore) {
    PositionalMedia media;
    media.failAt = 500;
    auto source = PayloadSource::create(&PositionalMedia::read, &media, 1000);
    ASSERT_TRUE(source);
    std::uint8_t block[100];
    EXPECT_EQ(source->read(0, block, sizeof block), 100);
    EXPECT_EQ(source->read(450, block, sizeof block), -1);
    EXPECT_TRUE(source->failed());
    // Even the bytes before the damage stay away: whatever follows a damaged chunk is not trusted.
    const int callsAfterFailure = media.calls;
    EXPECT_EQ(source->read(0, block, sizeof block), -1);
    EXPECT_EQ(media.calls, callsAfterFailure);
}

TEST(PositionalPayloadSource, DetachedSourceNeverCallsTheReaderAgainAndIsNotDamaged) {
    PositionalMedia media;
    auto source = PayloadSource::create(&PositionalMedia::read, &media, 1000);
    ASSERT_TRUE(source);
    source->detach();
    std::uint8_t block[16];
    EXPECT_EQ(source->read(0, block, sizeof block), -1);
    EXPECT_EQ(media.calls, 0);
    EXPECT_FALSE(source->failed());
}

TEST_F(PayloadSourceTest, AFileReadErrorMarksTheSourceFailed) {
    // A descriptor opened for writing only cannot be read: the positioned read fails.
    std::FILE* writeOnly = std::fopen((folder / "payload.bin").c_str(), "ab");
    ASSERT_NE(writeOnly, nullptr);
    auto source = PayloadSource::create(writeOnly, 732, 4268, &CheckingHook::hook, &checker);
    std::fclose(writeOnly);
    ASSERT_TRUE(source);
    std::uint8_t block[16];
    EXPECT_EQ(source->read(0, block, sizeof block), -1);
    EXPECT_TRUE(source->failed());
    EXPECT_TRUE(checker.calls.empty());
}

}  // namespace
}  // namespace mirado
