#pragma once
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "OpenSslCrypto.h"

namespace mirado {

struct AgeHeader;

// The outcome of opening an age v1 file, in the terms of the age test suite, plus the two cases where
// a file is well formed but not one this reader opens.
enum class AgeOutcome : std::uint8_t {
    Success,
    Unreadable,         // the system refused to read the file
    HeaderFailure,      // the header does not parse, or breaks a rule of the format
    WorkFactorRefused,  // a scrypt stanza whose work factor is above kMaxWorkFactor
    NoPassphrase,       // no scrypt stanza: the file was made for other recipients
    NoMatch,            // the passphrase does not unwrap the file key
    HmacFailure,        // the file key is right but the header was changed
    PayloadFailure,     // the payload is cut or extended, or its last chunk fails authentication
};

using AgeFileKey = std::array<std::uint8_t, 16>;

// Reads an age v1 file whose one recipient is a passphrase (scrypt). Every 64 KiB chunk of the
// plaintext is authenticated and deciphered by itself, so any range is read without the bytes before
// it. Opening checks the header's MAC and the last chunk, so a file cut short or extended is refused
// at once; a changed chunk in between is found when it is read.
class AgeFileReader {
public:
    // The longest header read; ours are about 150 bytes, and age's own are as short for one passphrase.
    static constexpr std::size_t kHeaderLimit = 64u << 10;

    AgeFileReader() = default;
    AgeFileReader(const AgeFileReader&) = delete;
    AgeFileReader& operator=(const AgeFileReader&) = delete;
    ~AgeFileReader();  // wipes the payload key

    // `fd` stays the caller's and must stay open while the reader reads. The work factor is checked
    // before anything is derived, so a refused one costs nothing.
    AgeOutcome open(int fd, std::string_view passphrase);
    // Skips the recipients and takes the file key as given (for files made for other recipients whose
    // file key is known, as the age test suite's STREAM vectors are).
    AgeOutcome openWithFileKey(int fd, const AgeFileKey& fileKey);

    // After Success, and after PayloadFailure for the chunks before the damaged end.
    std::uint64_t plaintextSize() const { return plaintextSize_; }
    // Plaintext bytes from `position`, safe from several threads at once: the count (short only at the
    // end), 0 at the end, -1 when a read fails or a chunk fails authentication.
    std::int64_t readAt(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) const;

private:
    struct Head;  // the parsed header, the bytes its MAC covers, and the payload nonce
    static AgeOutcome readHead(int fd, Head& head);
    AgeOutcome start(int fd, const Head& head, const AgeFileKey& fileKey);
    // Reads and opens chunk `index` into `plain`: its plaintext length, or -1. A whole-size chunk is
    // also tried under the other flag unless `strict`, as age's own reader does; `openedAsLast` tells
    // which flag it carried.
    std::int64_t openChunk(std::uint64_t index, std::uint8_t* plain, bool strict, bool& openedAsLast) const;

    int fd_ = -1;
    crypto::Key32 payloadKey_{};
    std::uint64_t payloadStart_ = 0;
    std::uint64_t sealedSize_ = 0;  // bytes from payloadStart_ to the end of the file
    std::uint64_t chunkCount_ = 0;
    std::uint64_t plaintextSize_ = 0;
    // The first chunk found to carry the last-chunk flag before the file's end: nothing after it is
    // part of the file's plaintext.
    mutable std::atomic<std::uint64_t> earlyLastChunk_{UINT64_MAX};
};

}  // namespace mirado
