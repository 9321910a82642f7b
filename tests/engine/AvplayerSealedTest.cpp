// Sealed containers through the real engine: playing, seeking, the end, and a damaged chunk.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "TestMedia.h"
#include "engine/avplayer.h"
#include "tests/support/SealedDamage.h"

namespace mirado::testing {
namespace {
namespace fs = std::filesystem;

constexpr std::u16string_view kPassword = u"Sealed2026";

// Counts the engine's reads and checks each against the plain media at its position.
struct AuditingRead {
    ContainerReader* reader = nullptr;
    std::vector<std::uint8_t> media;
    std::atomic<int> reads{0}, wrong{0}, failed{0};

    static std::int64_t read(void* context, std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) {
        auto* self = static_cast<AuditingRead*>(context);
        ++self->reads;
        const std::int64_t got = readSealed(self->reader, position, buffer, length);
        if (got < 0) ++self->failed;
        if (got > 0 && !std::equal(buffer, buffer + got, self->media.begin() + std::ptrdiff_t(position))) ++self->wrong;
        return got;
    }
};

TEST(AvplayerSealed, PlaysSeeksToTenFiftyAndNinetyPercentAndReachesTheEnd) {
    const fs::path container = TestMedia::instance().seal(TestMedia::instance().mp4(), kPassword);
    ContainerReader reader;
    reader.setKey(AdditiveKeyCipher::keyFromPassword(kPassword));
    ASSERT_TRUE(reader.open(container));
    ASSERT_EQ(reader.version(), ContainerVersion::Sealed);
    AuditingRead audit{&reader, readFile(TestMedia::instance().mp4())};
    ASSERT_EQ(reader.records().front().payloadSize, audit.media.size());

    avplayer player;
    ASSERT_EQ(player.open(container.c_str(), 0, 2, &AuditingRead::read, &audit, audit.media.size(), nullptr, 0, 0, 0), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 1 && player.curr_play_time() > 0.1; }));
    EXPECT_NEAR(player.duration(), 3.0, 0.2);
    ASSERT_EQ(player.pause(), 1);
    for (const double fraction : {0.1, 0.5, 0.9}) {
        SCOPED_TRACE(fraction);
        ASSERT_EQ(player.seek_to(fraction), 1);
        EXPECT_TRUE(waitFor([&] { return std::abs(player.curr_play_time() - 3.0 * fraction) < 0.3; }));
        EXPECT_EQ(player.play_status(), 2);
    }
    ASSERT_EQ(player.seek_to(0.5), 1);
    ASSERT_EQ(player.resume(), 1);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 3; }));
    EXPECT_GT(player.curr_play_time(), 2.7);
    EXPECT_EQ(player.close(), 1);
    EXPECT_GT(audit.reads, 0);
    EXPECT_EQ(audit.wrong, 0);
    EXPECT_EQ(audit.failed, 0);
}

TEST(AvplayerSealed, MatroskaPlaysToTheEndAsFastAsItDecodes) {
    const fs::path container = TestMedia::instance().seal(TestMedia::instance().mkv(), kPassword);
    ContainerReader reader;
    avplayer player(avplayer::Pace::AsFastAsPossible);
    ASSERT_EQ(openSealed(player, reader, container, kPassword), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == 3; }));
    EXPECT_NEAR(player.duration(), 3.0, 0.2);
    // The end plays again from a seek.
    EXPECT_EQ(player.seek_to(0.2), 1);
    EXPECT_TRUE(waitFor([&] { return player.play_status() != 3; }));
    player.resume();
    EXPECT_TRUE(waitFor([&] { return player.play_status() == 3; }));
}

TEST(AvplayerSealed, ADamagedChunkInTheMiddleEndsPlaybackAsDamagedBeforeTheEnd) {
    const fs::path sealed = TestMedia::instance().seal(TestMedia::instance().longer(), kPassword);
    const std::uint64_t chunks = fs::file_size(TestMedia::instance().longer()) / 65536;
    ASSERT_GE(chunks, 8u);
    const fs::path damaged = damagedChunkCopy(sealed, chunks / 2);
    ContainerReader reader;
    // The header, the record and the last chunk are whole: the damage shows only when its chunk is read.
    reader.setKey(AdditiveKeyCipher::keyFromPassword(kPassword));
    ASSERT_TRUE(reader.open(damaged));
    AuditingRead audit{&reader, readFile(TestMedia::instance().longer())};

    avplayer player(avplayer::Pace::AsFastAsPossible);
    const std::uint64_t size = reader.records().front().payloadSize;
    ASSERT_EQ(player.open(damaged.c_str(), 0, 2, &AuditingRead::read, &audit, size, nullptr, 0, 0, 0), 1);
    player.play(0.0, 0);
    ASSERT_TRUE(waitFor([&] { return player.play_status() == -2; }));
    EXPECT_GT(player.curr_play_time(), 0.5) << "the chunks before the damage played";
    EXPECT_LT(player.curr_play_time(), 7.0);
    // It stays damaged: it never reaches the end, and nothing past the failed read was handed over.
    spin(500);
    EXPECT_EQ(player.play_status(), -2);
    EXPECT_GE(audit.failed, 1);
    EXPECT_EQ(audit.wrong, 0);
    EXPECT_EQ(player.pause(), 0);
    EXPECT_EQ(player.stop(), 1);
    EXPECT_EQ(player.play_status(), 4);
    EXPECT_EQ(player.close(), 1);
    EXPECT_EQ(player.play_status(), 0);

    // The engine goes on to the next file as usual.
    ContainerReader whole;
    ASSERT_EQ(openSealed(player, whole, sealed, kPassword), 1);
    player.play(0.0, 0);
    EXPECT_TRUE(waitFor([&] { return player.play_status() == 3; }, 20000));
}

TEST(AvplayerSealed, CompatibleAndSealedContainersTakeTurnsInOneEngine) {
    const ContainerKey key = AdditiveKeyCipher::keyFromPassword(kPassword);
    const fs::path compatible = TestMedia::instance().encipher(TestMedia::instance().mkv(), key);
    const fs::path sealed = TestMedia::instance().seal(TestMedia::instance().mkv(), kPassword);
    avplayer player(avplayer::Pace::AsFastAsPossible);
    for (int round = 0; round < 2; ++round) {
        ContainerReader first, second;
        ASSERT_EQ(openContainer(player, first, compatible, key), 1);
        player.play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return player.play_status() == 3; }));
        ASSERT_EQ(openSealed(player, second, sealed, kPassword), 1);
        player.play(0.0, 0);
        ASSERT_TRUE(waitFor([&] { return player.play_status() == 3; }));
        player.close();
    }
}

}  // namespace
}  // namespace mirado::testing
