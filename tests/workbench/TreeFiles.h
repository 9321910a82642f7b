#pragma once
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"

namespace mirado::testing {

// A small file whose bytes tell it apart from its neighbours.
inline void touch(const std::filesystem::path& file, std::size_t size = 100) {
    writeFile(file, patternBytes(size, std::uint32_t(std::hash<std::string>{}(file.filename().string()))));
}

inline bool makeFifo(const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0644) == 0; }

// A listening Unix socket at `path`; the descriptor stays open for the test's life.
inline bool makeSocket(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path) return false;
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    return fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace mirado::testing
