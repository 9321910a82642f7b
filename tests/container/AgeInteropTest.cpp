// Debian's age as the other side: a format 2 container decrypts with `age -d` to the preamble and the
// original bytes, and a file `age -p` made from a preamble and a clip opens in the reader. age reads
// passphrases only from a terminal, so it runs on a pseudo-terminal here.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "ReferenceFormat.h"
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

constexpr const char* kAge = "/usr/bin/age";

// Runs a program on a new pseudo-terminal and types the password at each of its prompts. Gives the
// exit code (-1 when it did not exit by itself within a minute) and what it printed.
std::pair<int, std::string> runOnTerminal(const std::vector<std::string>& arguments, const std::string& password) {
    std::vector<char*> argv;
    std::vector<std::string> words = arguments;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) return {-1, "forkpty failed"};
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    std::string shown;
    std::size_t answered = 0;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!ended && std::chrono::steady_clock::now() < deadline) {
        pollfd wait{terminal, POLLIN, 0};
        if (::poll(&wait, 1, 200) <= 0) continue;
        char block[512];
        const ssize_t got = ::read(terminal, block, sizeof block);
        ended = got <= 0;  // the program ended and the terminal closed
        if (ended) break;
        shown.append(block, std::size_t(got));
        // "Enter passphrase", and "Confirm passphrase" when encrypting.
        std::size_t prompts = 0;
        for (std::size_t at = 0; (at = shown.find("passphrase", at)) != std::string::npos; at += 10) ++prompts;
        for (; answered < prompts; ++answered) {
            const std::string line = password + "\r";
            if (::write(terminal, line.data(), line.size()) != ssize_t(line.size())) break;
        }
    }
    if (!ended) ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, shown};
}

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
