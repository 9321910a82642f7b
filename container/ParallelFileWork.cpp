#include "ParallelFileWork.h"

#include <unistd.h>

#include <cerrno>

namespace mirado {

WriteResult readFileAt(int fd, std::uint8_t* out, std::size_t length, std::uint64_t offset) {
    while (length > 0) {
        const ssize_t got = ::pread(fd, out, length, off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return {WriteError::ReadFailed, errno};
        if (got == 0) return {WriteError::SourceChanged, 0};  // it shrank
        out += got;
        offset += std::uint64_t(got);
        length -= std::size_t(got);
    }
    return {};
}

WriteResult writeFileAt(int fd, const std::uint8_t* data, std::size_t length, std::uint64_t offset) {
    while (length > 0) {
        const ssize_t written = ::pwrite(fd, data, length, off_t(offset));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return {WriteError::WriteFailed, written == 0 ? ENOSPC : errno};
        data += written;
        offset += std::uint64_t(written);
        length -= std::size_t(written);
    }
    return {};
}

void ParallelFileWork::fail(const WriteResult& result) {
    std::lock_guard lock(mutex_);
    if (!failed_.exchange(true)) failure_ = result;
}

WriteResult ParallelFileWork::result() {
    std::lock_guard lock(mutex_);
    return failed_ ? failure_ : WriteResult{};
}

WriteResult ParallelFileWork::write(FileUnits& made) {
    for (FileUnit& unit : made) {
        if (unit.length == 0 || failed_) continue;
        if (WriteResult written = writeFileAt(output_, unit.buffer.data(), unit.length, unit.at); !written) {
            return written;
        }
        written_ += unit.sourceBytes;
        unit.length = 0;
    }
    return {};
}

}  // namespace mirado
