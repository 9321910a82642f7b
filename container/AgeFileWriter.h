#pragma once
#include <array>
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
// may seal them on several threads (one ChaCha20Poly1305 object each), and they need only the file
// key: sealing may go on while sealHead() runs the deliberately slow password derivation.
class AgeFileWriter {
public:
    AgeFileWriter() = default;
    AgeFileWriter(const AgeFileWriter&) = delete;
    AgeFileWriter& operator=(const AgeFileWriter&) = delete;
    ~AgeFileWriter();  // wipes the keys

    // Draws a fresh file key and payload nonce and derives the payload key; false when the random
    // source or the derivation fails.
    bool begin();
    // Wraps the file key for the passphrase under a fresh scrypt salt and makes head(); false when
    // that fails or the work factor is outside what age accepts.
    bool sealHead(std::string_view passphrase, int workFactor);
    // The file's first bytes: header, MAC line and payload nonce.
    const std::string& head() const { return head_; }
    // The length head() has for this work factor, known before sealHead() has run.
    static std::size_t headSize(int workFactor);

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
    std::array<std::uint8_t, age::kFileKeySize> fileKey_{};
    std::array<std::uint8_t, age::kPayloadNonceSize> nonce_{};
    crypto::Key32 payloadKey_{};
};

}  // namespace mirado
