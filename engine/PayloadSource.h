#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <shared_mutex>

namespace mirado {

// The media bytes of an open container as a byte stream starting at 0, safe to read from any thread.
// One read path, two ways to fill a block: a container whose cipher follows the file offset is read with
// a positioned read and deciphered in place by the read hook; a container sealed in chunks is asked for
// deciphered media bytes by position. Deciphered bytes live only in the caller's buffer.
class PayloadSource {
public:
    // Deciphers `length` bytes at `data` that were read at file offset `offset`.
    using Hook = void (*)(void* context, void* data, std::int32_t length, std::int64_t offset);
    // Up to `length` deciphered media bytes from media position `position`: the count, 0 at the end, -1
    // when they cannot be read or fail their check.
    using PositionalRead = std::int64_t (*)(void* context, std::uint64_t position, std::uint8_t* buffer,
                                            std::uint64_t length);

    // The payload at `payloadOffset` of the stream's file, deciphered by `hook`. Null when the stream has
    // no regular file behind it or the file ends before the payload begins. The file is reached through a
    // duplicate of the stream's descriptor, so closing the stream later is harmless; a file shorter than
    // the record says presents only the bytes that are there.
    static std::shared_ptr<PayloadSource> create(std::FILE* stream, std::uint64_t payloadOffset,
                                                 std::uint64_t payloadSize, Hook hook, void* context);
    // `size` media bytes handed out by `read`. Null without a read function or with nothing to read.
    static std::shared_ptr<PayloadSource> create(PositionalRead read, void* context, std::uint64_t size);

    ~PayloadSource();
    PayloadSource(const PayloadSource&) = delete;
    PayloadSource& operator=(const PayloadSource&) = delete;

    std::int64_t size() const { return size_; }
    // Up to `length` bytes from payload position `position`: the count read, 0 at the end, -1 after an
    // error, once a read has failed, or once detached.
    std::int64_t read(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length);
    // True once a read failed: the file cannot be read, or its bytes were damaged or modified. Nothing is
    // handed out after that, so nothing altered is ever shown.
    bool failed() const { return failed_; }
    // From the return of this call on, the hook or read function and its context are never used again.
    void detach();

private:
    class Fill;
    class HookedFileFill;
    class PositionalFill;
    PayloadSource(std::unique_ptr<Fill> fill, std::int64_t size);

    std::unique_ptr<Fill> fill_;
    const std::int64_t size_;
    std::atomic<bool> failed_{false};
    // Held shared around each fill and exclusively by detach, which so waits for running fills only.
    std::shared_mutex fillMutex_;
    bool detached_ = false;
};

}  // namespace mirado
