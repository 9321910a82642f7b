#include "PayloadSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace mirado {

namespace {
// The hook takes a 32-bit length; mpv asks for far less than this anyway.
constexpr std::uint64_t kLargestBlock = 1u << 20;
}  // namespace

// Puts up to `length` deciphered bytes from payload position `position` into `buffer`.
class PayloadSource::Fill {
public:
    virtual ~Fill() = default;
    virtual std::int64_t fill(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) = 0;
};

class PayloadSource::HookedFileFill final : public Fill {
public:
    HookedFileFill(int descriptor, std::uint64_t payloadOffset, Hook hook, void* context)
        : descriptor_(descriptor), payloadOffset_(payloadOffset), hook_(hook), context_(context) {}
    ~HookedFileFill() override { ::close(descriptor_); }

    std::int64_t fill(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) override {
        const std::int64_t fileOffset = std::int64_t(payloadOffset_ + position);
        ssize_t got;
        do {
            got = ::pread(descriptor_, buffer, length, fileOffset);
        } while (got < 0 && errno == EINTR);
        if (got <= 0) return got < 0 ? -1 : 0;
        hook_(context_, buffer, std::int32_t(got), fileOffset);
        return got;
    }

private:
    const int descriptor_;
    const std::uint64_t payloadOffset_;
    const Hook hook_;
    void* const context_;
};

class PayloadSource::PositionalFill final : public Fill {
public:
    PositionalFill(PositionalRead read, void* context) : read_(read), context_(context) {}

    std::int64_t fill(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) override {
        return read_(context_, position, buffer, length);
    }

private:
    const PositionalRead read_;
    void* const context_;
};

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
    return std::shared_ptr<PayloadSource>(new PayloadSource(
        std::make_unique<HookedFileFill>(descriptor, payloadOffset, hook, context), std::int64_t(present)));
}

std::shared_ptr<PayloadSource> PayloadSource::create(PositionalRead read, void* context, std::uint64_t size) {
    if (read == nullptr || size == 0 || size > std::uint64_t(INT64_MAX)) return nullptr;
    return std::shared_ptr<PayloadSource>(
        new PayloadSource(std::make_unique<PositionalFill>(read, context), std::int64_t(size)));
}

PayloadSource::PayloadSource(std::unique_ptr<Fill> fill, std::int64_t size) : fill_(std::move(fill)), size_(size) {}

PayloadSource::~PayloadSource() = default;

std::int64_t PayloadSource::read(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) {
    if (position >= std::uint64_t(size_)) return 0;
    length = std::min({length, std::uint64_t(size_) - position, kLargestBlock});
    std::shared_lock lock(fillMutex_);
    if (detached_ || failed_) return -1;
    const std::int64_t got = fill_->fill(position, buffer, length);
    if (got < 0) failed_ = true;
    return std::min(got, std::int64_t(length));
}

void PayloadSource::detach() {
    std::unique_lock lock(fillMutex_);
    detached_ = true;
}

}  // namespace mirado
