// Debian's age as the other side: a format 2 container decrypts with `age -d` to the preamble and the
// original bytes, and a file `age -p` made from a preamble and a clip opens in the reader. age reads
// passphrases only from a terminal, so it runs on a pseudo-terminal here.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ReferenceFormat.h"
#include "container/ContainerReader.h"
#include "container/ContainerWriter.h"
#include "container/SealedPreamble.h"
#include "tests/support/RunOnTerminal.h"
#include "tests/support/TempDir.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using testing::asciiKey;
using testing::patternBytes;
using testing::readFile;
using testing::runOnTerminal;
using testing::TempDir;
using testing::writeFile;

constexpr const char* kAge = "/usr/bin/age";

class AgeInterop : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(kAge, X_OK) != 0) GTEST_SKIP() << "Debian's age is not installed (package age)";
    }
    TempDir dir;
};

TEST_F(AgeInterop, AContainerDecryptsWithAgeToThePreambleAndTheOriginal) {
    const auto clip = patternBytes(200000, 5);
    writeFile(dir / "clip.mp4", clip);
    ContainerWriter writer;
    writer.setVersion(ContainerVersion::Sealed, 12);
    writer.configure(asciiKey("Interop42"), true, u"水印", 1, 2, 0);
    ASSERT_TRUE(writer.encipherFile(dir / "clip.mp4", dir.path()));

    const auto [exitCode, shown] = runOnTerminal({kAge, "-d", "-o", (dir / "out.bin").string(),
                                                  (dir / "clip.pmpk").string()}, "Interop42");
    ASSERT_EQ(exitCode, 0) << shown;
    const auto plain = readFile(dir / "out.bin");
    ASSERT_EQ(plain.size(), SealedPreamble::kSize + clip.size());
    EXPECT_TRUE(std::equal(clip.begin(), clip.end(), plain.begin() + SealedPreamble::kSize));
    const auto record = SealedPreamble::parse(plain.data(), plain.size());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->sourceName, u"clip.mp4");
    EXPECT_EQ(record->watermarkText, u"水印");

    const auto wrong = runOnTerminal({kAge, "-d", "-o", (dir / "wrong.bin").string(), (dir / "clip.pmpk").string()},
                                     "Interop43");
    EXPECT_NE(wrong.first, 0) << wrong.second;
}

TEST_F(AgeInterop, AFileMadeByAgeFromAPreambleAndAClipOpensInTheReader) {
    const auto clip = patternBytes(150000, 6);
    ContainerInfoRecord record;
    record.payloadSize = clip.size();
    record.sourceName = u"from age.mp4";
    record.watermarkText = u"age";
    const auto preamble = SealedPreamble::toBytes(record);
    std::vector<std::uint8_t> plain(preamble.begin(), preamble.end());
    plain.insert(plain.end(), clip.begin(), clip.end());
    writeFile(dir / "plain.bin", plain);

    const auto [exitCode, shown] = runOnTerminal({kAge, "-p", "-o", (dir / "made.pmpk").string(),
                                                  (dir / "plain.bin").string()}, "ByAge2024");
    ASSERT_EQ(exitCode, 0) << shown;
    ContainerReader reader;
    reader.setKey(asciiKey("ByAge2024"));
    ASSERT_TRUE(reader.open(dir / "made.pmpk")) << int(reader.lastOpenFailure());
    EXPECT_EQ(reader.version(), ContainerVersion::Sealed);
    EXPECT_EQ(reader.records().front().sourceName, u"from age.mp4");
    EXPECT_EQ(reader.records().front().watermarkText, u"age");
    std::vector<std::uint8_t> media(clip.size());
    std::int64_t got = 0;
    ASSERT_TRUE(reader.readWholePayload(media.data(), std::int64_t(media.size()), got));
    EXPECT_EQ(media, clip);
}

}  // namespace
}  // namespace mirado
