#include "Measure.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

extern char** environ;

namespace mirado::bench {
namespace {

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

struct Usage {
    double cpu = 0, system = 0;
};

Usage usageNow() {
    rusage self{}, children{};
    ::getrusage(RUSAGE_SELF, &self);
    ::getrusage(RUSAGE_CHILDREN, &children);
    const double system = seconds(self.ru_stime) + seconds(children.ru_stime);
    return {seconds(self.ru_utime) + seconds(children.ru_utime) + system, system};
}

}  // namespace

Cost measure(const std::function<bool()>& work, bool* succeeded) {
    const Usage before = usageNow();
    const auto start = std::chrono::steady_clock::now();
    const bool ok = work();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Usage after = usageNow();
    if (succeeded != nullptr) *succeeded = ok;
    return {wall, after.cpu - before.cpu, after.system - before.system};
}

bool runProgram(const std::vector<std::string>& words, const std::string& input, const std::string& output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> copies(words);
    std::vector<char*> argv;
    for (auto& word : copies) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = -1;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) ::waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status == 0;
}

bool runShell(const std::string& command) { return runProgram({"/bin/sh", "-c", command}); }

void flushDirtyPages() { ::sync(); }

void emptyFolder(const std::string& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    flushDirtyPages();
}

std::string freshFolder(const std::string& parent) {
    for (int run = 0;; ++run) {
        const std::string folder = parent + "/run" + std::to_string(run);
        if (std::filesystem::create_directories(folder)) {
            flushDirtyPages();
            return folder;
        }
    }
}

void Race::add(std::string name, std::function<void()> prepare, std::function<bool()> work) {
    entries_.push_back({std::move(name), std::move(prepare), std::move(work)});
}

bool Race::run(int rounds) {
    for (int round = 0; round < rounds; ++round) {
        // Every other round the order turns round, so neither entry always runs just after the other.
        for (std::size_t k = 0; k < entries_.size(); ++k) {
            Entry& entry = entries_[round % 2 == 0 ? k : entries_.size() - 1 - k];
            if (entry.prepare) entry.prepare();
            bool ok = false;
            const Cost cost = measure(entry.work, &ok);
            if (!ok) {
                std::fprintf(stderr, "%s failed\n", entry.name.c_str());
                return false;
            }
            entry.best.wall = std::min(entry.best.wall, cost.wall);
            if (cost.cpu < entry.best.cpu) {
                entry.best.cpu = cost.cpu;
                entry.best.system = cost.system;
            }
        }
    }
    return true;
}

const Cost& Race::best(const std::string& name) const {
    for (const auto& entry : entries_) {
        if (entry.name == name) return entry.best;
    }
    throw std::logic_error("no race entry " + name);
}

void Race::print(double megabytes) const {
    for (const auto& entry : entries_) {
        std::printf("  %-34s wall %9.4f s   CPU %9.4f s (system %8.4f s)", entry.name.c_str(), entry.best.wall,
                    entry.best.cpu, entry.best.system);
        if (megabytes > 0) std::printf("  %7.0f MB/s", megabytes / entry.best.wall);
        std::printf("\n");
    }
}

bool verdict(const std::string& what, double ratio, double goal, bool atMost) {
    const bool met = atMost ? ratio <= goal : ratio >= goal;
    std::printf("  %-34s ratio %6.3f   (goal %s %.2f: %s)\n", what.c_str(), ratio, atMost ? "<=" : ">=", goal,
                met ? "goal met" : "goal missed");
    return met;
}

bool compare(const Race& race, const std::string& ours, const std::string& theirs, double goal) {
    const Cost& a = race.best(ours);
    const Cost& b = race.best(theirs);
    const bool wall = verdict(ours + " / " + theirs + ", wall", a.wall / b.wall, goal);
    const bool cpu = verdict(ours + " / " + theirs + ", CPU", a.cpu / b.cpu, goal);
    return wall && cpu;
}

std::string scratchFolder(int argc, char** argv, const std::string& name) {
    const std::filesystem::path base = argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    return (base / (name + "-" + std::to_string(::getpid()))).string();
}

}  // namespace mirado::bench
