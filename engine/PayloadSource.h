#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>

namespace mirado {

// The payload of an open container as a byte stream starting at 0. Every block is read with a positioned
// read (safe from any thread, 64-bit offsets) and then handed to the read hook with its absolute file
// offset, which deciphers it in place; deciphered bytes live only in the caller's buffer.
class PayloadSource {
public:
    using Hook = void (*)(void* context, void* data, std::int32_t length, std::int64_t offset);

    // Null when the stream has no file behind it or the file ends before the payload begins. The file is
    // reached through a duplicate of the stream's descriptor, so closing the stream later is harmless;
    // a file shorter than the record says presents only the bytes that are there.
    static std::shared_ptr<PayloadSource> create(std::FILE* stream, std::uint64_t payloadOffset,
                                                 std::uint64_t payloadSize, Hook hook, void* context);
    ~PayloadSource();
    PayloadSource(const PayloadSource&) = delete;
    PayloadSource& operator=(const PayloadSource&) = delete;

    std::int64_t size() const { return size_; }
    // Up to `length` bytes from payload position `position`: the count read, 0 at the end, -1 after an
    // error or once detached.
    std::int64_t read(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length);
    // From the return of this call on, the hook and its context are never used again.
    void detach();

private:
    PayloadSource(int descriptor, std::uint64_t payloadOffset, std::int64_t size, Hook hook, void* context);

    const int descriptor_;
    const std::uint64_t payloadOffset_;
    const std::int64_t size_;
    std::mutex hookMutex_;  // held around each hook call, so detach waits for one running call at most
    Hook hook_;
    void* context_;
};

}  // namespace mirado
