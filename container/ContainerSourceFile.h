#pragma once
#include <cstdint>
#include <filesystem>

namespace mirado {

// The source of one container, opened for reading. Only a regular file with real contents is taken:
// a FIFO, a device, a socket or a folder is refused at once (opened without blocking, so a FIFO with
// no writer cannot hang the job), and so are the generated files of /proc and /sys, whose size says
// nothing about what they hold.
class ContainerSourceFile {
public:
    enum class Refusal {
        None,
        Missing,     // no such file (or a link to none)
        Unreadable,  // cannot be opened; errno in error()
        NotAFile,    // not a regular file
    };

    ContainerSourceFile() = default;
    ContainerSourceFile(const ContainerSourceFile&) = delete;
    ContainerSourceFile& operator=(const ContainerSourceFile&) = delete;
    ~ContainerSourceFile();

    Refusal open(const std::filesystem::path& path);
    int get() const { return fd_; }  // the descriptor
    int error() const { return error_; }
    std::uint64_t size() const { return size_; }  // as it was when opened

    // After the last read: true when the file still has the size it had when opened and ends there.
    bool unchangedSinceOpened();

private:
    int fd_ = -1;
    int error_ = 0;
    std::uint64_t size_ = 0;
};

}  // namespace mirado
