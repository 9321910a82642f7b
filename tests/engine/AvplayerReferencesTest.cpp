// The engine plays what it is handed and nothing else: a playlist inside a plain file or inside a
// container is refused (it ends unplayable), and nothing it names is fetched or opened.
#include <gtest/gtest.h>

#include <fstream>

#include "TestMedia.h"
#include "engine/avplayer.h"
#include "tests/support/LocalHttpServer.h"

namespace mirado::testing {
namespace {
namespace fs = std::filesystem;

constexpr int kPlaying = 1, kUnplayable = -1;

class AvplayerReferences : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(served);
        fs::copy_file(TestMedia::instance().mp4(), served / "clip.mp4", fs::copy_options::overwrite_existing);
        ASSERT_NE(server.port(), 0) << "python3's http.server did not start";
        // The server answers and notes what it is asked: a fetch by the engine would show.
        ASSERT_NE(server.get("clip.mp4").find("200"), std::string::npos);
        ASSERT_EQ(server.requests(), "/clip.mp4\n");
    }

    // The lists a file may hold: plain M3U, M3U in the form a streaming server writes (read by the
    // streaming demuxer), RealMedia's list, and an M3U naming a local file.
    std::vector<std::pair<std::string, std::string>> lists() const {
        const std::string remote = server.url("clip.mp4");
        return {
            {"list.mp4", "#EXTM3U\n#EXTINF:3,clip\n" + remote + "\n"},
            {"stream.mp4",
             "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:3\n#EXT-X-MEDIA-SEQUENCE:0\n#EXTINF:3.0,\n" + remote +
                 "\n#EXT-X-ENDLIST\n"},
            {"clip.ram", remote + "\n"},
            {"local.mp4", "#EXTM3U\n" + TestMedia::instance().mp4().string() + "\n"},
        };
    }

    fs::path write(const std::string& name, const std::string& text) {
        const fs::path file = folder.path() / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

    // Waits for the engine's verdict on the open file; true when it found the file unplayable without
    // ever playing anything.
    static bool refused(avplayer& player) {
        bool played = false;
        const bool ended = waitFor([&] {
            played = played || player.play_status() == kPlaying;
            return player.play_status() == kUnplayable;
        });
        return ended && !played;
    }

    TempDir folder;
    fs::path served = folder.path() / "served";
    LocalHttpServer server{served};
};

TEST_F(AvplayerReferences, APlainFileHoldingAPlaylistIsRefusedAndNothingItNamesIsOpened) {
    for (const auto& [name, text] : lists()) {
        SCOPED_TRACE(name);
        avplayer player(avplayer::Pace::AsFastAsPossible);
        ASSERT_EQ(openPlain(player, write(name, text)), 1);
        player.play(0.0, 0);
        EXPECT_TRUE(refused(player)) << "state " << player.play_status();
        player.close();
    }
    EXPECT_EQ(server.requests(), "/clip.mp4\n") << "the engine fetched what a list named";
}

TEST_F(AvplayerReferences, AContainerHoldingAPlaylistIsRefusedAndNothingItNamesIsOpened) {
    const ContainerKey key = testKey(9);
    for (const auto& [name, text] : lists()) {
        SCOPED_TRACE(name);
        const fs::path container = TestMedia::instance().encipher(write(name, text), key);
        avplayer player(avplayer::Pace::AsFastAsPossible);
        ContainerReader reader;
        ASSERT_EQ(openContainer(player, reader, container, key), 1);
        player.play(0.0, 0);
        EXPECT_TRUE(refused(player)) << "state " << player.play_status();
        player.close();
    }
    EXPECT_EQ(server.requests(), "/clip.mp4\n") << "the engine fetched what a list named";
}

TEST_F(AvplayerReferences, APathThatLooksLikeAnAddressIsOpenedAsAFile) {
    // A folder named like a web address, holding a real clip: played from disk, nothing fetched.
    const fs::path odd = folder.path() / "http:" / "127.0.0.1:1" / "clip.mp4";
    fs::create_directories(odd.parent_path());
    fs::copy_file(TestMedia::instance().mp4(), odd);
    const fs::path here = fs::current_path();
    fs::current_path(folder.path());
    avplayer player(avplayer::Pace::AsFastAsPossible);
    const int opened = openPlain(player, "http://127.0.0.1:1/clip.mp4");
    fs::current_path(here);
    ASSERT_EQ(opened, 1);
    player.play(0.0, 0);
    EXPECT_TRUE(waitFor([&] { return player.play_status() == 3; })) << "state " << player.play_status();
    player.close();
}

}  // namespace
}  // namespace mirado::testing
