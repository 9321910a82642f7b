#pragma once
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>

namespace mirado {

// Writes every byte or fails with errno set (a write that makes no progress counts as a full disk).
inline bool writeAll(int fd, const std::uint8_t* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = ENOSPC;
            return false;
        }
        data += written;
        length -= std::size_t(written);
    }
    return true;
}

// One read, retried when a signal interrupts it.
inline ssize_t readSome(int fd, std::uint8_t* data, std::size_t length) {
    for (;;) {
        const ssize_t got = ::read(fd, data, length);
        if (got >= 0 || errno != EINTR) return got;
    }
}

}  // namespace mirado
