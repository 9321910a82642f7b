#pragma once
// Keys and passwords do not outlive their use in memory, nor reach the disk in a core file.
#include <cstddef>

namespace mirado {

// Overwrites `size` bytes at `data` with zeros in a way the compiler cannot drop as a dead store.
void wipe(void* data, std::size_t size);

// Makes this process write no core file and refuse to be traced or dumped by other processes of the
// same user (RLIMIT_CORE 0, not dumpable). Each program calls it first thing.
void disableCoreDumps();

}  // namespace mirado
