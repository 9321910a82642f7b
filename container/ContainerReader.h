#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "AdditiveKeyCipher.h"
#include "ContainerInfoRecord.h"
#include "ContainerKey.h"

namespace mirado {

// Opens one container under a candidate key, keeps its deciphered record and leaves the stream open
// at the payload. Never asks for a password and never shows a message.
class ContainerReader {
public:
    ContainerReader() = default;
    ContainerReader(const ContainerReader&) = delete;
    ContainerReader& operator=(const ContainerReader&) = delete;
    ~ContainerReader();

    // Stores the key and resets the key position; call before every open attempt.
    void setKey(const ContainerKey& key);
    // True when the path has the container extension, a record count of 1 and the right check value.
    bool open(const std::filesystem::path& path);

    const std::vector<ContainerInfoRecord>& records() const { return records_; }
    std::FILE* stream() const { return stream_; }
    void copyKey(std::uint8_t* out) const;
    const ContainerKey& key() const { return key_; }
    bool isImage() const;

    // Reads and deciphers `length` payload bytes from the payload's start. False when fewer arrived.
    bool readWholePayload(std::uint8_t* buffer, std::int64_t length, std::int64_t& bytesRead);
    // Deciphers one block read at absolute file offset `offset`; -1 continues where the last call ended.
    // Offsets inside the plain header are refused and leave the block as it is.
    bool decipherAt(std::uint8_t* buffer, std::int64_t length, std::int64_t offset);

    void close();

private:
    ContainerKey key_{};
    std::atomic<int> nextPosition_{0};  // where a block at offset -1 continues
    std::vector<ContainerInfoRecord> records_;
    std::FILE* stream_ = nullptr;
};

}  // namespace mirado

// The engine calls this for every block it reads from a container: `context` is the ContainerReader,
// `offset` the block's absolute file offset, or -1 when it follows the previous block.
extern "C" void PayloadReadHook(void* context, void* data, std::int32_t length, std::int64_t offset);
