// mirado-pack against what a user or a forged file may hand it: odd sources, passwords from files,
// descriptors and pipes, watermarks of emoji and control characters, containers with lying records.
#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "container/AdditiveKeyCipher.h"
#include "container/ContainerFormat.h"
#include "container/ContainerReader.h"
#include "container/Utf.h"
#include "tests/support/DeepFolder.h"
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

// Runs a shell line with $PACK standing for the program, for pipes and redirections.
testing::ProcessResult shell(const std::string& line) {
    return runProcess("/bin/sh", {"-c", "PACK='" + std::string(MIRADO_PACK_PATH) + "'; " + line});
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

class MiradoPackInputs : public ::testing::Test {
protected:
    void SetUp() override { writeFile(dir / "in/clip.mp4", patternBytes(5000)); }

    std::optional<ContainerInfoRecord> recordOf(const fs::path& container, std::u16string_view password = u"abc123") {
        ContainerReader reader;
        reader.setKey(AdditiveKeyCipher::keyFromPassword(password));
        if (!reader.open(container)) return std::nullopt;
        return reader.records().front();
    }

    TempDir dir;
    fs::path clip = dir / "in/clip.mp4";
};

// A FIFO must be refused at once: opened for reading it would wait for a writer for ever. The test's
// ctest timeout is what catches a hang.
TEST_F(MiradoPackInputs, OnlyRegularFilesAndFoldersAreSourcesAndARefusalWritesNothing) {
    ASSERT_EQ(::mkfifo((dir / "in/pipe.mp4").c_str(), 0600), 0);
    for (const fs::path& source : {dir / "in/pipe.mp4", fs::path("/dev/zero"), fs::path("/dev/null")}) {
        const auto result = pack({"encrypt", source.string(), (dir / "made").string(), "--password", "abc123"});
        EXPECT_EQ(result.exitCode, 1) << source;
        EXPECT_EQ(result.err, "mirado-pack: not a regular file or a folder: " + source.string() + "\n");
        EXPECT_FALSE(fs::exists(dir / "made")) << "refused before the destination is made";
    }
    // /proc's files say they are empty and are not: refused rather than enciphered as 0 bytes.
    fs::create_directories(dir / "out");
    const auto generated = pack({"encrypt", "/proc/self/status", (dir / "out").string(), "--password", "abc123"});
    EXPECT_EQ(generated.exitCode, 1);
    EXPECT_EQ(generated.err, "mirado-pack: /proc/self/status: the source is not a regular file\n");
    EXPECT_TRUE(fs::is_empty(dir / "out"));
}

TEST_F(MiradoPackInputs, AMissingDestinationFolderIsMadeOnlyWhenTheRestIsRight) {
    const auto wrong = pack({"encrypt", clip.string(), (dir / "protected/").string(), "--password", "short"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_FALSE(fs::exists(dir / "protected")) << "a refused password makes no folder";

    const auto made = shell("cd " + quoted(dir / "in") + " && \"$PACK\" encrypt --password abc123 clip.mp4 protected/");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_TRUE(recordOf(dir / "in/protected/clip.pmpk"));

    const auto deep = pack({"encrypt", clip.string(), (dir / "a/b").string(), "--password", "abc123"});
    EXPECT_EQ(deep.exitCode, 1);
    EXPECT_EQ(deep.err, "mirado-pack: the destination folder does not exist: " + (dir / "a/b").string() + "\n");
    EXPECT_FALSE(fs::exists(dir / "a"));
}

TEST_F(MiradoPackInputs, PasswordsComeFromAFileADescriptorOrAPipeAndNeverNeedTheCommandLine) {
    fs::create_directories(dir / "out");
    writeFile(dir / "pw", {'f', 'i', 'l', 'e', '1', '2', '\r', '\n', 'x'});
    ASSERT_EQ(pack({"encrypt", clip.string(), (dir / "out").string(), "--password-file", (dir / "pw").string()}).exitCode, 0);
    EXPECT_TRUE(recordOf(dir / "out/clip.pmpk", u"file12")) << "the first line, without its line end";

    auto viaFd = shell("\"$PACK\" encrypt --password-fd 3 " + quoted(clip) + " " + quoted(dir / "out") + " 3<<EOF\nfdpass9\nEOF");
    ASSERT_EQ(viaFd.exitCode, 0) << viaFd.err;
    EXPECT_TRUE(recordOf(dir / "out/clip.pmpk", u"fdpass9"));

    auto piped = shell("printf 'piped77\\n' | \"$PACK\" encrypt " + quoted(clip) + " " + quoted(dir / "out"));
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_TRUE(recordOf(dir / "out/clip.pmpk", u"piped77"));
    auto info = shell("echo piped77 | \"$PACK\" info " + quoted(dir / "out/clip.pmpk"));
    EXPECT_EQ(info.exitCode, 0) << info.err;

    const auto missingFile = pack({"encrypt", clip.string(), (dir / "out").string(), "--password-file", (dir / "none").string()});
    EXPECT_EQ(missingFile.exitCode, 1);
    EXPECT_NE(missingFile.err.find("cannot read the password file " + (dir / "none").string()), std::string::npos);
    const auto badFd = pack({"encrypt", clip.string(), (dir / "out").string(), "--password-fd", "77"});
    EXPECT_EQ(badFd.exitCode, 1);
    EXPECT_NE(badFd.err.find("--password-fd needs an open file descriptor: 77"), std::string::npos);
}

TEST_F(MiradoPackInputs, WatermarksAreCountedInUtf16UnitsAndStoredWithoutControlCharacters) {
    fs::create_directories(dir / "out");
    std::string emoji;
    for (int i = 0; i < 25; ++i) emoji += "\xF0\x9F\x98\x80";  // U+1F600, two UTF-16 units
    ASSERT_EQ(pack({"encrypt", clip.string(), (dir / "out").string(), "--password", "abc123", "--watermark", emoji}).exitCode, 0);
    auto record = recordOf(dir / "out/clip.pmpk");
    ASSERT_TRUE(record);
    EXPECT_EQ(toUtf8(record->watermarkText), emoji) << "25 emoji fit whole";

    const auto tooMany = pack({"encrypt", clip.string(), (dir / "out").string(), "--password", "abc123", "--watermark",
                               emoji + "\xF0\x9F\x98\x80"});
    EXPECT_EQ(tooMany.exitCode, 2);
    EXPECT_NE(tooMany.err.find("at most 50 characters (an emoji counts as two)"), std::string::npos) << tooMany.err;

    ASSERT_EQ(pack({"encrypt", clip.string(), (dir / "out").string(), "--password", "abc123", "--watermark",
                    "Anna\t2014\x1b[2J\r\nline two\x7f"}).exitCode, 0);
    record = recordOf(dir / "out/clip.pmpk");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->watermarkText, u"Anna 2014 [2J\nline two ");
}

// Deciphers a container, lets `change` edit its record, and enciphers it again under the same key.
void forgeRecord(const fs::path& container, const std::function<void(std::uint8_t* record)>& change) {
    auto bytes = readFile(container);
    AdditiveKeyCipher cipher(AdditiveKeyCipher::keyFromPassword(u"abc123"));
    cipher.seekTo(format::kEncipheredFrom);
    cipher.decipher(bytes.data() + format::kEncipheredFrom, format::kPayloadOffset - format::kEncipheredFrom);
    change(bytes.data() + format::kRecordOffset);
    cipher.seekTo(format::kEncipheredFrom);
    cipher.encipher(bytes.data() + format::kEncipheredFrom, format::kPayloadOffset - format::kEncipheredFrom);
    writeFile(container, bytes);
}

void putU64(std::uint8_t* at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) at[i] = std::uint8_t(value >> (8 * i));
}

void putName(std::uint8_t* record, std::u16string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        record[format::kSourceNameAt + 2 * i] = std::uint8_t(name[i]);
        record[format::kSourceNameAt + 2 * i + 1] = std::uint8_t(name[i] >> 8);
    }
}

TEST_F(MiradoPackInputs, InfoSeesThroughForgedRecordsAndKeepsTheTerminalSafe) {
    fs::create_directories(dir / "out");
    ASSERT_EQ(pack({"encrypt", clip.string(), (dir / "out").string(), "--password", "abc123"}).exitCode, 0);
    const fs::path container = dir / "out/clip.pmpk";
    const auto original = readFile(container);

    // 732 + (2^64 - 100) wraps to 632: the short payload must not pass as complete.
    forgeRecord(container, [](std::uint8_t* record) { putU64(record + format::kPayloadSizeAt, ~std::uint64_t(0) - 99); });
    auto huge = pack({"info", container.string(), "--password", "abc123", "--sha256"});
    EXPECT_EQ(huge.exitCode, 1);
    EXPECT_NE(huge.err.find("bytes short"), std::string::npos) << huge.err;
    EXPECT_EQ(huge.out.find("sha256"), std::string::npos);

    writeFile(container, original);
    forgeRecord(container, [](std::uint8_t* record) { putU64(record + format::kPayloadOffsetAt, 100); });
    auto offset = pack({"info", container.string(), "--password", "abc123"});
    EXPECT_EQ(offset.exitCode, 1);
    EXPECT_NE(offset.err.find("payload at offset 100, not 732"), std::string::npos) << offset.err;

    writeFile(container, original);
    forgeRecord(container, [](std::uint8_t* record) { putName(record, u"\x1b]0;owned\x07\x1b[2J\u009b1m\\x.mp4"); });
    auto plain = pack({"info", container.string(), "--password", "abc123"});
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.out.find("sourceName: \\x1b]0;owned\\x07\\x1b[2J\\u009b1m\\\\x.mp4\n"), std::string::npos) << plain.out;
    EXPECT_EQ(plain.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(plain.out.find('\x07'), std::string::npos);
    auto json = pack({"info", container.string(), "--password", "abc123", "--json"});
    EXPECT_NE(json.out.find("\"sourceName\": \"\\u001b]0;owned\\u0007\\u001b[2J"), std::string::npos) << json.out;
}

TEST_F(MiradoPackInputs, AFolderThatCannotBeReadIsListedAmongTheFailures) {
    writeFile(dir / "clips/a.mp4", patternBytes(100));
    const fs::path unreadable = testing::makeFolderBeyondPathMax(dir / "clips/deep", "b.mp4");
    fs::create_directories(dir / "out");
    const auto result = pack({"encrypt", (dir / "clips").string(), (dir / "out").string(), "--password", "abc123", "--quiet"});
    testing::removeDeepTree(dir / "clips/deep");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "1 container written to " + (dir / "out/clips").string() + "\n");
    EXPECT_EQ(result.err, "mirado-pack: " + unreadable.string() + ": cannot read the folder; its files were not enciphered: " +
                              std::strerror(ENAMETOOLONG) + "\nmirado-pack: 1 folder could not be read\n");
}

}  // namespace
}  // namespace mirado
