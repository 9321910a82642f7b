#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "AgeFormat.h"
#include "OpenSslCrypto.h"

namespace mirado {

// Writes the age v1 framing for one passphrase recipient: the header with its scrypt stanza and MAC,
// the payload nonce, then the plaintext sealed in 64 KiB chunks. Chunks are independent, so callers
// may seal them on several threads (one ChaCha20Poly1305 object each).
class AgeFileWriter {
public:
    AgeFileWriter() = default;
    AgeFileWriter(const AgeFileWriter&) = delete;
    AgeFileWriter& operator=(const AgeFileWriter&) = delete;
    ~AgeFileWriter();  // wipes the payload key

    // Draws a fresh file key, scrypt salt and payload nonce and derives every key; false when the
    // random source or a derivation fails, or the work factor is outside what age accepts.
    bool begin(std::string_view passphrase, int workFactor);
    // The file's first bytes: header, MAC line and payload nonce.
    const std::string& head() const { return head_; }

    // Seals plaintext chunk `index` (at most 64 KiB; only the last may be shorter, and empty only when
    // it is the only one) into `out`, which receives length + 16 bytes.
    bool sealChunk(crypto::ChaCha20Poly1305& aead, std::uint64_t index, bool last, const std::uint8_t* in,
                   std::size_t length, std::uint8_t* out) const;

    // How many chunks a plaintext of this size takes (an empty one takes one empty chunk).
    static std::uint64_t chunkCount(std::uint64_t plaintextSize) {
        return plaintextSize == 0 ? 1 : (plaintextSize + age::kChunkSize - 1) / age::kChunkSize;
    }
    // The size of the file for a plaintext of this size.
    std::uint64_t fileSize(std::uint64_t plaintextSize) const {
        return head_.size() + plaintextSize + chunkCount(plaintextSize) * crypto::kAeadTagSize;
    }

private:
    std::string head_;
    crypto::Key32 payloadKey_{};
};

}  // namespace mirado
