// mirado-pack holds passwords, keys and plain media in memory: it turns core files off for itself.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

extern char** environ;

namespace mirado {
namespace {

// The "Max core file size" line of a process that has ended but is not reaped yet.
std::string coreLimitAtExit(const std::vector<std::string>& arguments) {
    // Core files allowed, as a user who turned them on would have it; the child inherits the limit.
    rlimit saved{};
    ::getrlimit(RLIMIT_CORE, &saved);
    const rlimit unlimited{saved.rlim_max, saved.rlim_max};
    ::setrlimit(RLIMIT_CORE, &unlimited);
    std::vector<std::string> words{MIRADO_PACK_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const bool started = posix_spawn(&child, MIRADO_PACK_PATH, &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::setrlimit(RLIMIT_CORE, &saved);
    if (!started) return "not started";
    // Wait for the end but leave the process unreaped, so its limits can still be read.
    siginfo_t info{};
    ::waitid(P_PID, id_t(child), &info, WEXITED | WNOWAIT);
    std::ifstream limits("/proc/" + std::to_string(child) + "/limits");
    std::string line, found;
    while (std::getline(limits, line)) {
        if (line.rfind("Max core file size", 0) != 0) continue;
        std::istringstream fields(line.substr(18));
        std::string soft, hard;
        fields >> soft >> hard;
        found = soft + " " + hard;
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return found;
}

TEST(MiradoPackCoreDumps, EveryCommandRunsWithCoreFilesOff) {
    EXPECT_EQ(coreLimitAtExit({"--help"}), "0 0");
    EXPECT_EQ(coreLimitAtExit({"encrypt", "/no/such/file.mp4", "/tmp", "--password", "abc123"}), "0 0");
}

}  // namespace
}  // namespace mirado
