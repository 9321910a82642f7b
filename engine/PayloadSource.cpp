#include "PayloadSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace mirado {

namespace {
// The hook takes a 32-bit length; mpv asks for far less than this anyway.
constexpr std::uint64_t kLargestBlock = 1u << 20;
}  // namespace

std::shared_ptr<PayloadSource> PayloadSource::create(std::FILE* stream, std::uint64_t payloadOffset,
                                                     std::uint64_t payloadSize, Hook hook, void* context) {
    if (stream == nullptr || hook == nullptr) return nullptr;
    const int descriptor = ::fcntl(::fileno(stream), F_DUPFD_CLOEXEC, 0);
    if (descriptor < 0) return nullptr;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) ||
        std::uint64_t(info.st_size) < payloadOffset || payloadOffset > std::uint64_t(INT64_MAX)) {
        ::close(descriptor);
        return nullptr;
    }
    const std::uint64_t present = std::min(payloadSize, std::uint64_t(info.st_size) - payloadOffset);
    return std::shared_ptr<PayloadSource>(
        new PayloadSource(descriptor, payloadOffset, std::int64_t(present), hook, context));
}

PayloadSource::PayloadSource(int descriptor, std::uint64_t payloadOffset, std::int64_t size, Hook hook,
                             void* context)
    : descriptor_(descriptor), payloadOffset_(payloadOffset), size_(size), hook_(hook), context_(context) {}

PayloadSource::~PayloadSource() { ::close(descriptor_); }

std::int64_t PayloadSource::read(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) {
    if (position >= std::uint64_t(size_)) return 0;
    length = std::min({length, std::uint64_t(size_) - position, kLargestBlock});
    const std::int64_t fileOffset = std::int64_t(payloadOffset_ + position);
    ssize_t got;
    do {
        got = ::pread(descriptor_, buffer, length, fileOffset);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return got < 0 ? -1 : 0;

    std::lock_guard lock(hookMutex_);
    if (hook_ == nullptr) return -1;
    hook_(context_, buffer, std::int32_t(got), fileOffset);
    return got;
}

void PayloadSource::detach() {
    std::lock_guard lock(hookMutex_);
    hook_ = nullptr;
    context_ = nullptr;
}

}  // namespace mirado
