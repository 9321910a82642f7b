// The player's command line as the program reads it, before any window exists.
#include "player/PlayerOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirado {
namespace {

PlayerOptions parse(std::vector<std::string> words) {
    words.insert(words.begin(), "mirado-player");
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    return parsePlayerOptions(int(words.size()), argv.data());
}

using Files = std::vector<std::string>;

TEST(PlayerOptions, WordsThatAreNotOptionsAreTheFilesInOrder) {
    const PlayerOptions options = parse({"b.pmpk", "a.mp4", "-", "视频.mkv"});
    EXPECT_FALSE(options.exitNow);
    EXPECT_EQ(options.files, (Files{"b.pmpk", "a.mp4", "-", "视频.mkv"}));
    EXPECT_TRUE(parse({}).files.empty());
    EXPECT_FALSE(parse({}).exitNow);
}

TEST(PlayerOptions, DoubleDashEndsTheOptions) {
    const PlayerOptions options = parse({"a.mp4", "--", "-h", "--version", "--", "-odd.mp4"});
    EXPECT_FALSE(options.exitNow);
    EXPECT_EQ(options.files, (Files{"a.mp4", "-h", "--version", "--", "-odd.mp4"}));
}

TEST(PlayerOptions, HelpAndVersionEndTheProgramWithZeroWhereverTheyStand) {
    for (const Files& words : {Files{"-h"}, Files{"--help"}, Files{"a.mp4", "--version"}, Files{"--vers"}}) {
        const PlayerOptions options = parse(words);
        EXPECT_TRUE(options.exitNow) << words.back();
        EXPECT_EQ(options.exitCode, 0) << words.back();
    }
}

TEST(PlayerOptions, UnknownOptionsAreUsageErrors) {
    for (const Files& words : {Files{"--bogus"}, Files{"-x"}, Files{"a.mp4", "-platform", "offscreen"},
                               Files{"--help=yes"}}) {
        const PlayerOptions options = parse(words);
        EXPECT_TRUE(options.exitNow) << words.front();
        EXPECT_EQ(options.exitCode, 2) << words.front();
    }
}

}  // namespace
}  // namespace mirado
