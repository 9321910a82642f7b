#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "AdditiveKeyCipher.h"
#include "ContainerFormat.h"
#include "ContainerInfoRecord.h"
#include "ContainerKey.h"

namespace mirado {

class AgeFileReader;

// Why the last open() failed. The player tells a wrong password apart from a damaged file, because
// only the first is worth asking again for; everything else it reports as it comes.
enum class OpenFailure : std::uint8_t {
    None,           // the last open succeeded (or none was tried)
    Unreadable,     // missing, not named .pmpk, not a file, or the system refused to read it
    WrongPassword,  // the key does not open it; a format 1 file that is no container at all lands here too
    Damaged,        // cut short, changed or malformed: a format 2 header, record or tag that fails its check
    Unsupported,    // an age file that is not a Mirado container: no lone passphrase recipient, or a work
                    // factor above kMaxWorkFactor
};

// Opens one container of either format under a candidate key, keeps its deciphered record and leaves
// the file open for the payload. Never asks for a password and never shows a message.
//
// Format 1 (Compatible): the stream stands at the payload, and the engine deciphers what it reads
// through PayloadReadHook. Format 2 (Sealed, an age v1 file): the key's bytes up to the first zero are
// the passphrase; the payload is read only through readPayloadAt, which authenticates every 64 KiB
// chunk it touches.
class ContainerReader {
public:
    ContainerReader();
    ContainerReader(const ContainerReader&) = delete;
    ContainerReader& operator=(const ContainerReader&) = delete;
    ~ContainerReader();

    // Stores the key and resets the key position; call before every open attempt.
    void setKey(const ContainerKey& key);
    // True when the path has the container extension and opens under the key: format 1 by its record
    // count of 1 and check value, format 2 (first line "age-encryption.org/v1") by its authenticated
    // header, preamble and last chunk. On false, lastOpenFailure() says why.
    bool open(const std::filesystem::path& path);
    OpenFailure lastOpenFailure() const { return lastFailure_; }
    // The format of the container opened (or tried) last: an open that failed says which format the
    // file looked like, so that a message can name the right cause.
    ContainerVersion version() const { return version_; }

    const std::vector<ContainerInfoRecord>& records() const { return records_; }
    std::FILE* stream() const { return stream_; }
    void copyKey(std::uint8_t* out) const;
    const ContainerKey& key() const { return key_; }
    bool isImage() const;

    // Reads and deciphers `length` payload bytes from the payload's start. False when fewer arrived
    // (or, for format 2, when a chunk fails its authentication).
    bool readWholePayload(std::uint8_t* buffer, std::int64_t length, std::int64_t& bytesRead);
    // Deciphered media bytes from media position `position` (0 = the media file's first byte), for both
    // formats and from several threads at once. Returns the count, shorter than asked only at the end of
    // the media, 0 at its end, and -1 when nothing is open, a read fails or a format 2 chunk fails its
    // authentication (damaged, cut or reordered).
    std::int64_t readPayloadAt(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) const;
    // Format 1 only. Deciphers one block read at absolute file offset `offset`; -1 continues where the last call ended.
    // Offsets inside the plain header are refused and leave the block as it is.
    bool decipherAt(std::uint8_t* buffer, std::int64_t length, std::int64_t offset);

    void close();

private:
    bool openCompatible(std::FILE* stream);
    bool openSealed(std::FILE* stream);

    ContainerKey key_{};
    ContainerVersion version_ = ContainerVersion::Compatible;
    OpenFailure lastFailure_ = OpenFailure::None;
    std::unique_ptr<AgeFileReader> sealed_;  // format 2 only
    std::atomic<int> nextPosition_{0};  // where a block at offset -1 continues
    std::vector<ContainerInfoRecord> records_;
    std::FILE* stream_ = nullptr;
};

}  // namespace mirado

// The engine calls this for every block it reads from a container: `context` is the ContainerReader,
// `offset` the block's absolute file offset, or -1 when it follows the previous block.
extern "C" void PayloadReadHook(void* context, void* data, std::int32_t length, std::int64_t offset);
