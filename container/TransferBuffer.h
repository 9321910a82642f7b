#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace mirado {

// Hands out memory that starts on a cache line. The kernel's copies between a file's pages and a
// buffer 16 bytes past a line, where malloc puts a large block, took about 15 % longer.
template <typename T>
struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t kAlignment{64};

    CacheLineAllocator() = default;
    template <typename U>
    CacheLineAllocator(const CacheLineAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) { return static_cast<T*>(::operator new(count * sizeof(T), kAlignment)); }
    void deallocate(T* memory, std::size_t) noexcept { ::operator delete(memory, kAlignment); }

    template <typename U>
    bool operator==(const CacheLineAllocator<U>&) const noexcept {
        return true;
    }
};

// Bytes on their way between a source and a file, read and written in large steps.
using TransferBuffer = std::vector<std::uint8_t, CacheLineAllocator<std::uint8_t>>;

// One unit of a file made and waiting to be written at its offset.
struct FileUnit {
    TransferBuffer buffer;          // sized by whoever makes the unit; kept for the next one
    std::uint64_t at = 0;           // file offset
    std::size_t length = 0;         // bytes to write; 0 while there is nothing to write
    std::uint64_t sourceBytes = 0;  // the source bytes it holds, for progress
};

// A thread's two units; kept across files, their buffers need no fresh pages.
using FileUnits = std::array<FileUnit, 2>;

}  // namespace mirado
