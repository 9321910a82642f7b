#include <gtest/gtest.h>

#include "container/AdditiveKeyCipher.h"
#include "container/ContainerReader.h"
#include "tests/support/RunProcess.h"
#include "tests/support/TempDir.h"
#include "tests/tools/PackProcess.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using testing::patternBytes;
using testing::readFile;
using testing::runProcess;
using testing::TempDir;
using testing::writeFile;

using testing::pack;

std::size_t entriesIn(const fs::path& folder) {
    return std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class MiradoPack : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir / "in/holiday.mp4", patternBytes(300000));
        fs::create_directories(dir / "out");
    }
    TempDir dir;
};

TEST_F(MiradoPack, EncryptThenInfoShowsTheRecordAndTheOriginalsHash) {
    auto written = pack({"encrypt", (dir / "in/holiday.mp4").string(), (dir / "out").string(), "--password", "abc123",
                         "--watermark", "家 home", "--position", "2", "--colour", "4", "--font-size", "1"});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.out, (dir / "out/holiday.pmpk").string() + "\n");

    auto info = pack({"info", (dir / "out/holiday.pmpk").string(), "--json", "--sha256"}, {"MIRADO_PASSWORD=abc123"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    // The hash of the same bytes, computed by the system's own tool.
    const auto expectedHash = runProcess("/usr/bin/sha256sum", {(dir / "in/holiday.mp4").string()}).out.substr(0, 64);
    for (const std::string& part : {std::string("\"formatTag\": 10001"), std::string("\"payloadOffset\": 732"),
                                    std::string("\"payloadSize\": 300000"), std::string("\"sourceName\": \"holiday.mp4\""),
                                    std::string("\"watermarkText\": \"家 home\""), std::string("\"watermarkPosition\": 2"),
                                    std::string("\"watermarkColour\": 4"), std::string("\"watermarkFontSize\": 1"),
                                    "\"sha256\": \"" + expectedHash + "\""}) {
        EXPECT_NE(info.out.find(part), std::string::npos) << part << " in " << info.out;
    }
    EXPECT_EQ(info.out.find("\"watermarkMark\": 0"), std::string::npos) << "a watermarked container has a mark";
}

// The payload is hashed a block at a time: nothing at all, and a payload that ends one byte into a
// further block, must still hash like the original does.
TEST_F(MiradoPack, Sha256MatchesSha256sumForEmptyAndMultiBlockPayloads) {
    for (std::size_t size : {std::size_t(0), std::size_t((1u << 20) * 2 + 1)}) {
        const fs::path source = dir / "in" / ("clip" + std::to_string(size) + ".mkv");
        writeFile(source, patternBytes(size, unsigned(size)));
        ASSERT_EQ(pack({"encrypt", source.string(), (dir / "out").string(), "--password", "abc123"}).exitCode, 0);
        const auto info = pack({"info", (dir / "out" / ("clip" + std::to_string(size) + ".pmpk")).string(),
                                "--password", "abc123", "--json", "--sha256"});
        ASSERT_EQ(info.exitCode, 0) << info.err;
        const auto expected = runProcess("/usr/bin/sha256sum", {source.string()}).out.substr(0, 64);
        EXPECT_NE(info.out.find("\"sha256\": \"" + expected + "\""), std::string::npos) << size << ": " << info.out;
    }
}

TEST_F(MiradoPack, WithoutAWatermarkTextNothingIsMarked) {
    ASSERT_EQ(pack({"encrypt", (dir / "in/holiday.mp4").string(), (dir / "out").string(), "--password", "abc123",
                    "--position", "3", "--watermark", ""}).exitCode, 0);
    auto info = pack({"info", (dir / "out/holiday.pmpk").string(), "--password", "abc123", "--json"});
    EXPECT_NE(info.out.find("\"watermarkMark\": 0,"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"watermarkPosition\": 0"), std::string::npos) << info.out;
}

TEST_F(MiradoPack, BadInputGetsOneLineANonZeroExitAndWritesNothing) {
    const auto source = (dir / "in/holiday.mp4").string(), out = (dir / "out").string();
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"encrypt", (dir / "in/none.mp4").string(), out, "--password", "abc123"}, 1, "no such file or folder"},
        {{"encrypt", source, (dir / "nowhere/deeper").string(), "--password", "abc123"}, 1,
         "destination folder does not exist"},
        {{"encrypt", source, out, "--password", "abc12"}, 1, "密码只能由数字和字母组成,长度6至16位"},
        {{"encrypt", source, out, "--password", "abc 123"}, 1, "密码只能由数字和字母组成,长度6至16位"},
        {{"encrypt", source, out, "--password", "abcdefgh123456789"}, 1, "密码只能由数字和字母组成,长度6至16位"},
        {{"encrypt", source, out, "--password", ""}, 1, "请输入密码"},
        {{"encrypt", source, out}, 1, "no password"},
        {{"encrypt", source, out, "--password", "abc123", "--colour", "5"}, 2, "--colour must be a number from 0 to 4"},
        {{"encrypt", source, out, "--password", "abc123", "--watermark", std::string(51, 'w')}, 2, "at most 50"},
        {{"encrypt", "/dev/zero", out, "--password", "abc123"}, 1, "not a regular file or a folder: /dev/zero"},
        {{"encrypt", source, out, "--password", "abc123", "--password-fd", "0"}, 1, "give only one of"},
        {{"encrypt", source, out, "--pasword", "abc123"}, 2, "unknown option: --pasword"},
        {{"encrypt", source}, 2, "encrypt needs SOURCE and DESTFOLDER"},
        {{"frobnicate"}, 2, "unknown command: frobnicate"},
    };
    for (const auto& c : cases) {
        const auto result = pack(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.message;
        EXPECT_EQ(result.err.rfind("mirado-pack: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        }
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(entriesIn(dir / "out"), 0u) << c.message;
    }
}

TEST_F(MiradoPack, InfoRefusesWrongPasswordsForeignFilesAndShortPayloads) {
    ASSERT_EQ(pack({"encrypt", (dir / "in/holiday.mp4").string(), (dir / "out").string(), "--password", "Right1"}).exitCode, 0);
    const auto container = (dir / "out/holiday.pmpk").string();
    auto wrong = pack({"info", container, "--password", "Wrong1"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("wrong password, or not a Mirado container"), std::string::npos);

    writeFile(dir / "out/fake.pmpk", patternBytes(2000));
    auto foreign = pack({"info", (dir / "out/fake.pmpk").string(), "--password", "Right1"});
    EXPECT_EQ(foreign.exitCode, 1);
    EXPECT_NE(foreign.err.find("wrong password, or not a Mirado container"), std::string::npos);

    fs::resize_file(container, 732 + 300000 - 4321);
    auto shortened = pack({"info", container, "--password", "Right1", "--sha256"});
    EXPECT_EQ(shortened.exitCode, 1);
    EXPECT_NE(shortened.err.find("4321 bytes short"), std::string::npos) << shortened.err;
    EXPECT_NE(shortened.out.find("payloadSize: 300000"), std::string::npos);
}

TEST_F(MiradoPack, HelpForEveryCommand) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"-h"}, {"encrypt", "--help"}, {"encrypt", "-h"}, {"info", "-h"}}) {
        const auto result = pack(arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.out.find("usage: mirado-pack"), std::string::npos);
        EXPECT_EQ(result.err, "");
    }
}

TEST_F(MiradoPack, VersionAndUsageErrorsFollowTheUsualConventions) {
    const auto version = pack({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("mirado-pack ", 0), 0u) << version.out;
    EXPECT_NE(version.out.find('.'), std::string::npos) << version.out;

    // A bare call is a usage error: the usage goes to stderr, stdout stays clean for pipes.
    const auto bare = pack({});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_EQ(bare.out, "");
    EXPECT_NE(bare.err.find("usage: mirado-pack"), std::string::npos);

    const auto missingValue = pack({"encrypt", (dir / "in/holiday.mp4").string(), (dir / "out").string(), "--password"});
    EXPECT_EQ(missingValue.exitCode, 2);
    EXPECT_NE(missingValue.err.find("--password needs a value"), std::string::npos) << missingValue.err;
    EXPECT_EQ(missingValue.out, "");
}

// What bash offers after the words typed so far, one word a line.
std::string completions(const std::string& words, int current) {
    const std::string script = std::string("source '") + MIRADO_PACK_COMPLETION + "'; COMP_WORDS=(" + words +
                               "); COMP_CWORD=" + std::to_string(current) +
                               "; _mirado_pack; printf '%s\\n' \"${COMPREPLY[@]}\"";
    return runProcess("/bin/bash", {"-c", script}).out;
}

TEST_F(MiradoPack, BashCompletesCommandsOptionsAndTheirValues) {
    EXPECT_EQ(completions("mirado-pack en", 1), "encrypt\n");
    EXPECT_EQ(completions("mirado-pack encrypt --password-f", 2), "--password-file\n--password-fd\n");
    EXPECT_EQ(completions("mirado-pack info --js", 2), "--json\n");
    EXPECT_EQ(completions("mirado-pack encrypt a b --colour ''", 5), "0\n1\n2\n3\n4\n");
    EXPECT_EQ(completions("mirado-pack info --sha", 2), "--sha256\n");
}

TEST_F(MiradoPack, DoubleDashEndsTheOptionsSoANameMayBeginWithADash) {
    writeFile(dir / "in/-odd.mp4", patternBytes(1000));
    const fs::path here = dir / "in";
    // Options before, between and after the words; after "--" a dash is only a name.
    const auto result = runProcess("/bin/sh", {"-c", "cd '" + here.string() + "' && exec '" + MIRADO_PACK_PATH +
                                                         "' encrypt --password=abc123 --quiet -- -odd.mp4 ../out"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(fs::is_regular_file(dir / "out/-odd.pmpk"));
    const auto refused = runProcess("/bin/sh", {"-c", "cd '" + here.string() + "' && exec '" + MIRADO_PACK_PATH +
                                                          "' encrypt --password abc123 -odd.mp4 ../out"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("unknown option"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace mirado
