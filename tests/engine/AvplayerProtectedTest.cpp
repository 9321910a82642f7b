#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <mutex>
#include <thread>

#include "TestMedia.h"
#include "container/ContainerFormat.h"
#include "engine/avplayer.h"

namespace mirado::testing {
namespace {
namespace fs = std::filesystem;

// Wraps the real hook: checks each block against the container file at the offset given (before) and
// against the plain source (after deciphering), and records which payload bytes went through it.
struct AuditingHook {
    ContainerReader* reader = nullptr;
    std::vector<std::uint8_t> container, source;
    std::mutex mutex;
    std::vector<bool> seen;
    int outside = 0, wrongCipherText = 0, wrongPlainText = 0;
    std::uint64_t bytes = 0;

    AuditingHook(ContainerReader& r, const fs::path& containerPath, const fs::path& sourcePath)
        : reader(&r), container(readFile(containerPath)), source(readFile(sourcePath)), seen(source.size()) {}

    static void hook(void* context, void* data, std::int32_t length, std::int64_t offset) {
        auto* self = static_cast<AuditingHook*>(context);
        auto* block = static_cast<std::uint8_t*>(data);
        std::lock_guard lock(self->mutex);
        self->bytes += std::uint64_t(length);
        const std::int64_t payload = offset - format::kPayloadOffset;
        if (payload < 0 || payload + length > std::int64_t(self->source.size())) {
            ++self->outside;
            return;
        }
        if (!std::equal(block, block + length, self->container.begin() + offset)) ++self->wrongCipherText;
        PayloadReadHook(self->reader, data, length, offset);
        if (!std::equal(block, block + length, self->source.begin() + payload)) ++self->wrongPlainText;
        std::fill(self->seen.begin() + payload, self->seen.begin() + payload + length, true);
    }
};

TEST(AvplayerProtected, EveryBlockIsHookedAtItsTrueOffsetUntilTheEnd) {
    const ContainerKey key = testKey(1);
    for (const auto* file : {&TestMedia::instance().mp4(), &TestMedia::instance().mkv()}) {
        SCOPED_TRACE(file->string());
        const fs::path container = TestMedia::instance().encipher(*file, key);
        ContainerReader reader;
        AuditingHook audit(reader, container, *file);
        avplayer player(avplayer::Pace::AsFastAsPossible);
        ASSERT_EQ(openContainer(player, reader, container, key, &AuditingHook::hook, &audit), 1);
        player.play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return player.play_status() == 3; }));
        EXPECT_NEAR(player.duration(), 3.0, 0.2);
        player.stop();
        player.close();

        std::lock_guard lock(audit.mutex);
        EXPECT_EQ(audit.outside, 0);
        EXPECT_EQ(audit.wrongCipherText, 0);
        EXPECT_EQ(audit.wrongPlainText, 0);
        EXPECT_GE(audit.bytes, audit.source.size());
        EXPECT_EQ(std::count(audit.seen.begin(), audit.seen.end(), false), 0) << "payload bytes never read";
    }
}

TEST(AvplayerProtected, PausesResumesAndSeeksToTheMiddle) {
    const ContainerKey key = testKey(2);
    const fs::path container = TestMedia::instance().encipher(TestMedia::instance().mp4(), key);
    ContainerReader reader;
    avplayer player;
    ASSERT_EQ(openContainer(player, reader, container, key), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 1 && player.curr_play_time() > 0.1; }));
    ASSERT_EQ(player.pause(), 1);
    EXPECT_EQ(player.seek_to(0.5), 1);
    ASSERT_TRUE(waitFor([&] { return std::abs(player.curr_play_time() - 1.5) < 0.3; }));
    EXPECT_EQ(player.play_status(), 2);
    EXPECT_EQ(player.resume(), 1);
    EXPECT_TRUE(waitFor([&] { return player.curr_play_time() > 1.8; }));
    EXPECT_EQ(player.stop(), 1);
    EXPECT_EQ(player.play_status(), 4);
    EXPECT_EQ(player.close(), 1);
    EXPECT_EQ(player.play_status(), 0);
}

TEST(AvplayerProtected, SeekingFromTheEndPlaysAgain) {
    const ContainerKey key = testKey(3);
    const fs::path container = TestMedia::instance().encipher(TestMedia::instance().mkv(), key);
    ContainerReader reader;
    avplayer player(avplayer::Pace::AsFastAsPossible);
    ASSERT_EQ(openContainer(player, reader, container, key), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 3; }));
    EXPECT_EQ(player.seek_to(0.2), 1);
    EXPECT_TRUE(waitFor([&] { return player.play_status() != 3; }));
    player.resume();
    EXPECT_TRUE(waitFor([&] { return player.play_status() == 3; }));
}

TEST(AvplayerProtected, AWrongKeyFailsCleanly) {
    const ContainerKey key = testKey(4);
    const fs::path container = TestMedia::instance().encipher(TestMedia::instance().mp4(), key);
    ContainerReader reader;
    avplayer player(avplayer::Pace::AsFastAsPossible);
    reader.setKey(key);
    ASSERT_TRUE(reader.open(container));
    reader.setKey(testKey(5));  // from here on the hook deciphers to garbage
    const ContainerInfoRecord record = reader.records().front();
    ASSERT_EQ(player.open(container.c_str(), 0, 2, 1, reader.stream(), record.payloadOffset, record.payloadSize,
                          &PayloadReadHook, &reader, nullptr, true, nullptr, 0, 0, 0),
              1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == -1; }));
    EXPECT_EQ(player.pause(), 0);
    EXPECT_EQ(player.close(), 1);

    ContainerReader good;
    ASSERT_EQ(openContainer(player, good, container, key), 1);
    player.play(0.0, 0);
    EXPECT_TRUE(waitFor([&] { return player.play_status() == 3; }));
}

TEST(AvplayerProtected, TruncatedContainers) {
    const ContainerKey key = testKey(6);
    auto& media = TestMedia::instance();
    const fs::path mkv = media.encipher(media.mkv(), key);
    const fs::path mp4 = media.encipher(media.mp4(), key);
    avplayer player(avplayer::Pace::AsFastAsPossible);

    {  // Matroska cut in the middle: what is there plays, and the end comes early.
        ContainerReader reader;
        ASSERT_EQ(openContainer(player, reader, media.truncatedCopy(mkv, fs::file_size(mkv) * 6 / 10), key), 1);
        player.play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return player.play_status() == 3; }));
        EXPECT_GT(player.curr_play_time(), 0.5);
        EXPECT_LT(player.curr_play_time(), 2.5);
        player.close();
    }
    {  // MP4 keeps its index at the end: without it nothing can play.
        ContainerReader reader;
        ASSERT_EQ(openContainer(player, reader, media.truncatedCopy(mp4, fs::file_size(mp4) * 6 / 10), key), 1);
        player.play(0.0, 0);
        EXPECT_TRUE(waitFor([&] { return player.play_status() == -1; }));
        player.close();
    }
    {  // Nothing of the payload left.
        ContainerReader reader;
        EXPECT_EQ(openContainer(player, reader, media.truncatedCopy(mp4, format::kPayloadOffset), key), 0);
        EXPECT_EQ(player.play_status(), 0);
    }
}

TEST(AvplayerProtected, WhatCannotBeOpenedReturnsZero) {
    const ContainerKey key = testKey(7);
    const fs::path container = TestMedia::instance().encipher(TestMedia::instance().mp4(), key);
    ContainerReader reader;
    reader.setKey(key);
    ASSERT_TRUE(reader.open(container));
    const ContainerInfoRecord record = reader.records().front();
    avplayer player;
    EXPECT_EQ(player.open(container.c_str(), 0, 2, 1, nullptr, record.payloadOffset, record.payloadSize,
                          &PayloadReadHook, &reader, nullptr, true, nullptr, 0, 0, 0),
              0);
    EXPECT_EQ(player.open(container.c_str(), 0, 2, 1, reader.stream(), record.payloadOffset, 0, &PayloadReadHook,
                          &reader, nullptr, true, nullptr, 0, 0, 0),
              0);
    EXPECT_EQ(player.open(container.c_str(), 0, 2, 1, reader.stream(), record.payloadOffset, record.payloadSize,
                          nullptr, &reader, nullptr, true, nullptr, 0, 0, 0),
              0);
    EXPECT_EQ(player.play_status(), 0);
}

// Holds one hook call inside the hook until the test has called close.
struct SlowHook {
    ContainerReader* reader;
    std::atomic<int> calls{0};
    std::atomic<bool> inside{false};
    std::atomic<bool> heldOne{false};

    static void hook(void* context, void* data, std::int32_t length, std::int64_t offset) {
        auto* self = static_cast<SlowHook*>(context);
        self->inside = true;
        if (++self->calls == 1) {
            self->heldOne = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        }
        PayloadReadHook(self->reader, data, length, offset);
        self->inside = false;
    }
};

TEST(AvplayerProtected, CloseDuringAReadLeavesTheReaderAlone) {
    const ContainerKey key = testKey(8);
    const fs::path container = TestMedia::instance().encipher(TestMedia::instance().mkv(), key);
    auto reader = std::make_unique<ContainerReader>();
    SlowHook slow{reader.get()};
    avplayer player(avplayer::Pace::AsFastAsPossible);
    ASSERT_EQ(openContainer(player, *reader, container, key, &SlowHook::hook, &slow), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return slow.heldOne.load(); }));
    EXPECT_EQ(player.close(), 1);
    // close waited for the running call and let no other one start.
    EXPECT_FALSE(slow.inside);
    const int callsAtClose = slow.calls;
    reader.reset();  // what playback control does right after close
    spin(300);
    EXPECT_EQ(slow.calls, callsAtClose);
    EXPECT_EQ(player.play_status(), 0);

    ContainerReader next;
    ASSERT_EQ(openContainer(player, next, container, key), 1);
    player.play(0.0, 0);
    EXPECT_TRUE(waitFor([&] { return player.play_status() == 3; }));
}

TEST(AvplayerProtected, DestroyingTheEngineDuringPlaybackIsClean) {
    const ContainerKey key = testKey(9);
    const fs::path container = TestMedia::instance().encipher(TestMedia::instance().mp4(), key);
    ContainerReader reader;
    {
        avplayer player;
        ASSERT_EQ(openContainer(player, reader, container, key), 1);
        player.play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return player.play_status() == 1; }));
    }
    EXPECT_NE(reader.stream(), nullptr);  // the engine never closes the reader's stream
}

}  // namespace
}  // namespace mirado::testing
