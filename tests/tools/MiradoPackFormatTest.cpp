// mirado-pack and the two container formats: --format, --work-factor, and what info says of each.
#include <gtest/gtest.h>

#include "container/ContainerReader.h"
#include "tests/container/ReferenceFormat.h"
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

testing::ProcessResult packWithPassword(const std::vector<std::string>& arguments) {
    return testing::pack(arguments, {"MIRADO_PASSWORD=Format2ok"});
}

std::string headerOf(const fs::path& container) {
    const auto bytes = readFile(container);
    const std::string text(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min<std::size_t>(bytes.size(), 200)));
    return text.substr(0, text.find("---"));
}

class MiradoPackFormat : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir / "in/clip.mp4", patternBytes(300000, 3));
        fs::create_directories(dir / "out");
    }
    std::string source() const { return (dir / "in/clip.mp4").string(); }
    std::string out() const { return (dir / "out").string(); }
    std::string container() const { return (dir / "out/clip.pmpk").string(); }
    TempDir dir;
};

TEST_F(MiradoPackFormat, FormatTwoIsAnAgeFileThatInfoDescribesWithTheOriginalsHash) {
    auto written = packWithPassword({"encrypt", source(), out(), "--format", "2", "--watermark", "标记", "--colour", "2"});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.out, container() + "\n");
    EXPECT_EQ(headerOf(container()).rfind("age-encryption.org/v1\n-> scrypt ", 0), 0u);
    EXPECT_NE(headerOf(container()).find(" 16\n"), std::string::npos) << "the default work factor";

    auto info = packWithPassword({"info", container(), "--json", "--sha256"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    const auto expectedHash = runProcess("/usr/bin/sha256sum", {source()}).out.substr(0, 64);
    for (const std::string& part : {std::string("{\"format\": 2, "), std::string("\"payloadOffset\": 720"),
                                    std::string("\"payloadSize\": 300000"), std::string("\"watermarkText\": \"标记\""),
                                    std::string("\"watermarkColour\": 2"), "\"sha256\": \"" + expectedHash + "\""}) {
        EXPECT_NE(info.out.find(part), std::string::npos) << part << " in " << info.out;
    }
    EXPECT_EQ(info.out.find("formatTag"), std::string::npos) << "format 2 has no plain header";

    ASSERT_EQ(packWithPassword({"encrypt", source(), out(), "--format", "1"}).exitCode, 0);
    auto compatible = packWithPassword({"info", container()});
    EXPECT_EQ(compatible.out.rfind("format: 1\nformatTag: 10001\n", 0), 0u) << compatible.out;
}

TEST_F(MiradoPackFormat, AWorkFactorRaisesTheCostWrittenInTheHeader) {
    ASSERT_EQ(packWithPassword({"encrypt", source(), out(), "--format=2", "--work-factor", "17"}).exitCode, 0);
    EXPECT_NE(headerOf(container()).find(" 17\n"), std::string::npos) << headerOf(container());
    EXPECT_EQ(packWithPassword({"info", container()}).exitCode, 0);
}

TEST_F(MiradoPackFormat, AFolderJobWritesEveryContainerInTheChosenFormat) {
    writeFile(dir / "in/sub/photo.png", patternBytes(1000, 4));
    auto written = packWithPassword({"encrypt", (dir / "in").string(), out(), "--format", "2", "--quiet"});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    for (const fs::path& path : {dir / "out/in/clip.pmpk", dir / "out/in/sub/photo.pmpk"}) {
        ContainerReader reader;
        reader.setKey(testing::asciiKey("Format2ok"));
        ASSERT_TRUE(reader.open(path)) << path;
        EXPECT_EQ(reader.version(), ContainerVersion::Sealed) << path;
    }
}

TEST_F(MiradoPackFormat, BadFormatOptionsAreRefusedBeforeAnythingIsWritten) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--format", "3"}, "--format must be 1 or 2"},
        {{"--format", ""}, "--format must be 1 or 2"},
        {{"--format", "2", "--work-factor", "15"}, "--work-factor must be a number from 16 to 22"},
        {{"--format", "2", "--work-factor", "23"}, "--work-factor must be a number from 16 to 22"},
        {{"--format", "2", "--work-factor", "1e3"}, "--work-factor must be a number from 16 to 22"},
        {{"--work-factor", "18"}, "--work-factor applies to --format 2 only"},
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> arguments{"encrypt", source(), out()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto result = packWithPassword(arguments);
        EXPECT_EQ(result.exitCode, 2) << message;
        EXPECT_NE(result.err.find("mirado-pack: " + message), std::string::npos) << result.err;
        EXPECT_TRUE(fs::is_empty(dir / "out")) << message;
    }
}

TEST_F(MiradoPackFormat, InfoTellsAWrongPasswordFromADamagedContainer) {
    ASSERT_EQ(packWithPassword({"encrypt", source(), out(), "--format", "2"}).exitCode, 0);
    auto wrong = runProcess(MIRADO_PACK_PATH, {"info", container(), "--password", "Format2no"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, "mirado-pack: wrong password: " + container() + "\n");

    // A changed byte in the middle of the payload shows only when that chunk is read.
    auto bytes = readFile(container());
    bytes[bytes.size() / 2] ^= 1;
    writeFile(dir / "out/middle.pmpk", bytes);
    auto middle = packWithPassword({"info", (dir / "out/middle.pmpk").string(), "--sha256"});
    EXPECT_EQ(middle.exitCode, 1);
    EXPECT_NE(middle.err.find("a chunk of the payload fails its check"), std::string::npos) << middle.err;
    EXPECT_EQ(packWithPassword({"info", (dir / "out/middle.pmpk").string()}).exitCode, 0) << "without --sha256 it is not read";

    bytes = readFile(container());
    bytes.resize(bytes.size() - 1);
    writeFile(dir / "out/cut.pmpk", bytes);
    auto cut = packWithPassword({"info", (dir / "out/cut.pmpk").string()});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err, "mirado-pack: damaged or modified container: " + (dir / "out/cut.pmpk").string() + "\n");
}

}  // namespace
}  // namespace mirado
