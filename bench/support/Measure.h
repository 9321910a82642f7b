#pragma once
#include <functional>
#include <string>
#include <vector>

namespace mirado::bench {

// What one run cost: wall time and the processor time of this process and of every program it ran and
// waited for (user + system), all in seconds.
struct Cost {
    double wall = 0;
    double cpu = 0;
    double system = 0;
};

// Runs `work` once and measures it; the processor time counts every thread of this process and every
// child waited for during the run, so an in-process run and a spawned program are measured alike.
Cost measure(const std::function<bool()>& work, bool* succeeded = nullptr);

// Runs a program to its end, its standard input from `input` and its standard output into `output`
// (created or truncated); standard error is kept. True when it ended with status 0.
bool runProgram(const std::vector<std::string>& words, const std::string& input = "/dev/null",
                const std::string& output = "/dev/null");
// The same through /bin/sh, for pipelines a user would type.
bool runShell(const std::string& command);

// Writes dirty pages out, so the write-back of one run does not slow the next one down.
void flushDirtyPages();
// Makes `folder` a fresh, empty folder (the last run's output goes) and flushes the dirty pages.
void emptyFolder(const std::string& folder);
// A new empty folder below `parent` for one run's output; nothing is removed, and the dirty pages are
// flushed. ext4 without a journal does not reuse an inode freed in the last minutes, and each file made
// meanwhile scans past every such inode: a run just after thousands of files were removed took ten
// times as long. Runs that make thousands of files write here; the files go with the scratch folder.
std::string freshFolder(const std::string& parent);

// Several ways of doing one job, run in alternating rounds so that a busy neighbour on the shared
// machine does not favour one of them; each keeps its lowest wall time and its lowest processor time.
class Race {
public:
    // `prepare` runs untimed before every run of `work` (fresh output folders, removing the last copy).
    void add(std::string name, std::function<void()> prepare, std::function<bool()> work);
    // False, with a message, as soon as a run fails.
    bool run(int rounds);
    const Cost& best(const std::string& name) const;
    // One line per entry: name, lowest wall, lowest processor time (system part), and `size` / wall.
    void print(double megabytes = 0) const;

private:
    struct Entry {
        std::string name;
        std::function<void()> prepare;
        std::function<bool()> work;
        Cost best{1e300, 1e300, 1e300};
    };
    std::vector<Entry> entries_;
};

// Prints "  WHAT  ratio R  (goal <= G: goal met)" or "... goal missed"; `atMost` false turns the goal
// into a lower bound (throughput). Returns whether the goal was met.
bool verdict(const std::string& what, double ratio, double goal, bool atMost = true);
// Wall and processor-time ratios of `ours` against `theirs`, each judged against `goal`.
bool compare(const Race& race, const std::string& ours, const std::string& theirs, double goal);

// Where the benchmark's scratch files go: argv[1] when given, else the temporary folder.
std::string scratchFolder(int argc, char** argv, const std::string& name);

}  // namespace mirado::bench
