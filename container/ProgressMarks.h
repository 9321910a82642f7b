#pragma once

#include <algorithm>
#include <cstdint>

namespace mirado {

// The points at which a write tells its progress: every `step` bytes and at the end, each once, also
// when the bytes pass several of them at a time.
class ProgressMarks {
public:
    ProgressMarks(std::uint64_t total, std::uint64_t step) : total_(total), step_(step) {}

    // Calls `tell` with each mark up to `done` not yet told; false as soon as `tell` returns false.
    template <typename Tell>
    bool passTo(std::uint64_t done, Tell&& tell) {
        for (std::uint64_t mark; told_ < total_ && (mark = std::min(told_ + step_, total_)) <= done;) {
            told_ = mark;
            if (!tell(mark)) return false;
        }
        return true;
    }

private:
    const std::uint64_t total_, step_;
    std::uint64_t told_ = 0;
};

}  // namespace mirado
