// The folder form of `mirado-pack encrypt`: output, exit codes, the terminal progress bar and Ctrl-C.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include "container/AdditiveKeyCipher.h"
#include "container/ContainerReader.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace mirado {
namespace {

namespace fs = std::filesystem;
using testing::patternBytes;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

std::string slurp(const fs::path& file) {
    const auto bytes = readFile(file);
    return {bytes.begin(), bytes.end()};
}

// mirado-pack with stdin from /dev/null and stdout and stderr into the given descriptors. Ctrl-C and
// SIGTERM start at their defaults, whatever the test runner had them set to.
pid_t spawnPack(const std::vector<std::string>& arguments, int outFd, int errFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    std::vector<std::string> words{MIRADO_PACK_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    if (posix_spawn(&child, MIRADO_PACK_PATH, &actions, &attributes, argv.data(), environ) != 0) child = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

struct Finished {
    int status = -1;  // as waitpid gives it
    std::string out;
    std::string err;
    int exitCode() const { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
};

class MiradoPackFolder : public ::testing::Test {
protected:
    TempDir dir;
    fs::path source = dir / "clips";
    fs::path out = dir / "out";

    void SetUp() override {
        fs::create_directories(source);
        fs::create_directories(out);
    }

    std::vector<std::string> encrypt(std::vector<std::string> extra = {}) {
        std::vector<std::string> words{"encrypt", source.string(), out.string(), "--password", "abc123"};
        words.insert(words.end(), extra.begin(), extra.end());
        return words;
    }

    // Starts the program with output into files; `whileRunning` gets its process id.
    template <typename WhileRunning>
    Finished run(const std::vector<std::string>& arguments, WhileRunning whileRunning) {
        const fs::path outFile = dir / "stdout", errFile = dir / "stderr";
        const int outFd = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const pid_t child = spawnPack(arguments, outFd, errFd);
        ::close(outFd);
        ::close(errFd);
        Finished result;
        if (child < 0) return result;
        whileRunning(child);
        ::waitpid(child, &result.status, 0);
        result.out = slurp(outFile);
        result.err = slurp(errFile);
        return result;
    }
    Finished run(const std::vector<std::string>& arguments) {
        return run(arguments, [](pid_t) {});
    }

};

TEST_F(MiradoPackFolder, MirrorsTheTreeWithALinePerFileAndTheCount) {
    writeFile(source / "a.mp4", patternBytes(5000, 1));
    writeFile(source / "notes.txt", patternBytes(10, 2));
    writeFile(source / "trip/b.AVI", patternBytes(7000, 3));
    writeFile(source / "misc/deep/c.png", patternBytes(900, 4));
    const Finished result = run(encrypt());
    EXPECT_EQ(result.exitCode(), 0) << result.err;
    EXPECT_EQ(result.err, "");
    const fs::path root = out / "clips";
    EXPECT_EQ(result.out, (source / "a.mp4").string() + " -> " + (root / "a.pmpk").string() + "\n" +
                              (source / "trip/b.AVI").string() + " -> " + (root / "trip/b.pmpk").string() + "\n" +
                              (source / "misc/deep/c.png").string() + " -> " + (root / "misc/deep/c.pmpk").string() +
                              "\n3 containers written to " + root.string() + "\n");
    ContainerReader reader;
    reader.setKey(AdditiveKeyCipher::keyFromPassword(u"abc123"));
    EXPECT_TRUE(reader.open(root / "misc/deep/c.pmpk"));
}

TEST_F(MiradoPackFolder, QuietLeavesOnlyTheCountAndAnEmptyFolderCountsZero) {
    writeFile(source / "a.mp4", patternBytes(100));
    writeFile(source / "b.mkv", patternBytes(100));
    Finished result = run(encrypt({"--quiet"}));
    EXPECT_EQ(result.exitCode(), 0) << result.err;
    EXPECT_EQ(result.out, "2 containers written to " + (out / "clips").string() + "\n");

    fs::create_directories(dir / "empty");
    result = run({"encrypt", (dir / "empty").string(), out.string(), "--password", "abc123"});
    EXPECT_EQ(result.exitCode(), 0) << result.err;
    EXPECT_EQ(result.out, "0 containers written to " + (out / "empty").string() + "\n");
    EXPECT_TRUE(fs::is_directory(out / "empty"));
}

TEST_F(MiradoPackFolder, FailedFilesAreListedOnStderrAndTheExitIsNonZero) {
    writeFile(source / "a.mp4", patternBytes(1000));
    writeFile(source / "b.mp4", patternBytes(300000));
    writeFile(source / "c.mp4", patternBytes(1000));
    // The child inherits a file-size limit that b.mp4's container cannot stay under.
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = 100000;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const Finished result = run(encrypt({"--quiet"}));
    ::setrlimit(RLIMIT_FSIZE, &previous);

    EXPECT_EQ(result.exitCode(), 1);
    EXPECT_EQ(result.out, "2 containers written to " + (out / "clips").string() + "\n");
    EXPECT_EQ(result.err, "mirado-pack: " + (source / "b.mp4").string() + ": writing the container failed: " +
                              std::strerror(EFBIG) + "\nmirado-pack: 1 of 3 files failed\n");
    EXPECT_TRUE(fs::exists(out / "clips/a.pmpk"));
    EXPECT_FALSE(fs::exists(out / "clips/b.pmpk"));
    EXPECT_TRUE(fs::exists(out / "clips/c.pmpk"));
}

// True once the process holds a file open in `folder`: an unnamed file shows as "folder/#123 (deleted)".
bool writesInto(pid_t process, const fs::path& folder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(process) + "/fd", ec)) {
        const std::string target = fs::read_symlink(entry.path(), ec).string();
        if (!ec && target.rfind(folder.string() + "/", 0) == 0) return true;
    }
    return false;
}

// Ctrl-C and its kin stop the job, removing the container in progress, and end the process by the
// signal; SIGKILL cannot be caught, and the unnamed file being written vanishes with the process.
TEST_F(MiradoPackFolder, SignalsMidWriteLeaveTheFinishedContainersAndNothingElse) {
    writeFile(source / "a.mp4", patternBytes(1000));
    // Sparse: gigabytes to encipher, nothing to store, so the job is surely busy with it when the signal comes.
    std::filesystem::resize_file((writeFile(source / "big.mkv", {}), source / "big.mkv"), 4ull << 30);
    writeFile(source / "c.mp4", patternBytes(1000));
    const fs::path root = out / "clips";
    rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);  // SIGQUIT would leave a core file
    for (const int signal : {SIGINT, SIGHUP, SIGQUIT, SIGPIPE, SIGTERM, SIGKILL}) {
        fs::remove_all(root);
        bool busy = false;
        const Finished result = run(encrypt({"--quiet"}), [&](pid_t child) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (!busy && std::chrono::steady_clock::now() < deadline) {
                // Once a.pmpk is whole, the file being written can only be big.mkv's.
                std::error_code ec;
                busy = fs::exists(root / "a.pmpk", ec) && writesInto(child, root);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            ::kill(child, signal);
        });
        ASSERT_TRUE(busy) << strsignal(signal);
        ASSERT_TRUE(WIFSIGNALED(result.status)) << strsignal(signal) << " " << result.status;
        EXPECT_EQ(WTERMSIG(result.status), signal);
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(root)) left.push_back(entry.path().filename().string());
        EXPECT_EQ(left, std::vector<std::string>{"a.pmpk"}) << strsignal(signal);
        EXPECT_EQ(fs::file_size(root / "a.pmpk"), 732u + 1000u);
        if (signal != SIGKILL) {
            EXPECT_EQ(result.err, "mirado-pack: stopped; 1 container written to " + root.string() + "\n");
        }
    }
}

// Runs the program with stderr on a pseudo-terminal and returns what the terminal received.
std::string onTerminal(const std::vector<std::string>& arguments, const fs::path& stdoutFile, int& exitCode) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return "no pty";
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    const int outFd = ::open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const pid_t child = spawnPack(arguments, outFd, slave);
    ::close(slave);
    ::close(outFd);
    std::string received;
    char buffer[4096];
    // Reading ends with EIO once the child, the last holder of the terminal's other side, is gone.
    for (ssize_t got; (got = ::read(master, buffer, sizeof buffer)) > 0;) received.append(buffer, std::size_t(got));
    ::close(master);
    int status = 0;
    ::waitpid(child, &status, 0);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return received;
}

TEST_F(MiradoPackFolder, TerminalShowsOneRedrawnProgressLineInsteadOfFileLines) {
    writeFile(source / "a.mp4", patternBytes(2048));
    writeFile(source / "sub/b.mkv", patternBytes(2048));
    int exitCode = -1;
    const std::string terminal = onTerminal(encrypt(), dir / "stdout", exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(terminal.rfind("\r[", 0), 0u) << terminal;
    const auto last = terminal.rfind('\r', terminal.size() - 3);
    ASSERT_NE(last, std::string::npos);
    const std::string finalLine = terminal.substr(last);
    EXPECT_NE(finalLine.find("[##############################]  2/2 files  4.0 KiB / 4.0 KiB"), std::string::npos)
        << finalLine;
    EXPECT_EQ(terminal.find('\n'), terminal.size() - 1) << "one line, ended once";
    EXPECT_EQ(slurp(dir / "stdout"), "2 containers written to " + (out / "clips").string() + "\n");

    EXPECT_EQ(onTerminal(encrypt({"--quiet"}), dir / "stdout", exitCode), "");
    EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace mirado
