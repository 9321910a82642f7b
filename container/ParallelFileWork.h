#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>

#include "ContainerWriter.h"
#include "ProgressMarks.h"
#include "TransferBuffer.h"

namespace mirado {

// Reads exactly `length` bytes at `offset`; a source that ends before is one that changed.
WriteResult readFileAt(int fd, std::uint8_t* out, std::size_t length, std::uint64_t offset);
WriteResult writeFileAt(int fd, const std::uint8_t* data, std::size_t length, std::uint64_t offset);

// The units of a file, made and written by one or two threads, each unit at its own offset. Both
// threads take units from one counter so that neither idles or waits for the other while work is left.
// The first failure, or a cancel, ends the work for both.
//
// The file system lets one write into a file run at a time, and a thread waiting for it spins. So a
// thread that finds the other writing makes its next unit into a second buffer first, and writes
// both when the file is free again.
class ParallelFileWork {
public:
    ParallelFileWork(int output, std::uint64_t units) : output_(output), units_(units) {}

    // Makes and writes units in `made` until none is left or the work has ended. `makeUnit(unit,
    // FileUnit&)` fills a unit; `betweenUnits()` may end the work by returning a failure.
    template <typename MakeUnit, typename BetweenUnits>
    void run(FileUnits& made, MakeUnit&& makeUnit, BetweenUnits&& betweenUnits) {
        for (FileUnit& unit : made) unit.length = 0;  // a failed file may have left one unwritten
        for (;;) {
            FileUnit* free = made[0].length == 0 ? &made[0] : made[1].length == 0 ? &made[1] : nullptr;
            std::uint64_t unit = 0;
            if (free == nullptr || failed_ || (unit = next_.fetch_add(1)) >= units_) break;
            WriteResult result = makeUnit(unit, *free);
            if (result) {
                std::unique_lock file(file_, std::try_to_lock);
                const bool full = made[0].length != 0 && made[1].length != 0;
                if (!file.owns_lock() && full) file.lock();
                if (file.owns_lock()) result = write(made);
            }
            if (result) result = betweenUnits();
            if (!result) fail(result);
        }
        std::lock_guard file(file_);
        if (WriteResult result = write(made); !result) fail(result);
    }
    // Tells `marks` up to the source bytes written so far to `tell`; Cancelled when it says stop.
    template <typename Tell>
    WriteResult tellProgress(ProgressMarks& marks, Tell&& tell) const {
        return marks.passTo(written_, tell) ? WriteResult{} : WriteResult{WriteError::Cancelled, 0};
    }
    // Ends the work for both threads; the first failure is the one result() tells.
    void fail(const WriteResult& result);
    WriteResult result();

private:
    // The caller holds the file.
    WriteResult write(FileUnits& made);

    const int output_;
    const std::uint64_t units_;
    std::atomic<std::uint64_t> next_{0}, written_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_, file_;
    WriteResult failure_;
};

}  // namespace mirado
