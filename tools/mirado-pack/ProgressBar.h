#pragma once
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "workbench/EncryptProgress.h"

namespace mirado::pack {

// One self-redrawing terminal line: files done of total, bytes done of total, throughput, time left.
// Redrawn at most ten times a second, whatever the rate of reports.
class ProgressBar {
public:
    ProgressBar(std::FILE* terminal, int columns);

    void fileStarted(const FileStart& file);
    void fileFinished();
    void bytesDone(std::uint64_t jobBytesDone);
    // Draws the last state and ends the line.
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    void draw(bool always);

    std::FILE* terminal_;
    int columns_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDraw_{};
    int filesDone_ = 0;
    int filesTotal_ = 0;
    std::uint64_t bytesDone_ = 0;
    std::uint64_t bytesTotal_ = 0;
    bool drawn_ = false;
};

// The width of the terminal on `fd`, or 80 when it cannot be told.
int terminalColumns(int fd);

}  // namespace mirado::pack
