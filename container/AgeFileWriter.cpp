#include "AgeFileWriter.h"

#include "AgeHeader.h"
#include "Base64.h"
#include "ContainerFormat.h"
#include "SecretMemory.h"

namespace mirado {

AgeFileWriter::~AgeFileWriter() { wipe(payloadKey_.data(), payloadKey_.size()); }

bool AgeFileWriter::begin(std::string_view passphrase, int workFactor) {
    head_.clear();
    if (workFactor < kMinWorkFactor || workFactor > kMaxWorkFactor) return false;
    std::array<std::uint8_t, age::kFileKeySize> fileKey{};
    std::array<std::uint8_t, age::kScryptSaltSize> salt{};
    std::array<std::uint8_t, age::kPayloadNonceSize> nonce{};
    crypto::Key32 wrapKey{}, macKey{};
    crypto::Mac32 mac{};
    AgeStanza stanza;
    stanza.body.resize(age::kWrappedFileKeySize);
    std::string header;

    std::string labelledSalt(age::kScryptSaltLabel);
    const std::array<std::uint8_t, crypto::kAeadNonceSize> zeroNonce{};
    crypto::ChaCha20Poly1305 aead;
    bool done = crypto::randomBytes(fileKey.data(), fileKey.size()) &&
                crypto::randomBytes(salt.data(), salt.size()) && crypto::randomBytes(nonce.data(), nonce.size());
    if (done) {
        labelledSalt.append(reinterpret_cast<const char*>(salt.data()), salt.size());
        stanza.arguments = {std::string(age::kScryptType), base64Unpadded(salt.data(), salt.size()),
                            std::to_string(workFactor)};
        done = crypto::scrypt(passphrase, reinterpret_cast<const std::uint8_t*>(labelledSalt.data()),
                              labelledSalt.size(), workFactor, wrapKey) &&
               aead.seal(wrapKey, zeroNonce.data(), fileKey.data(), fileKey.size(), stanza.body.data());
    }
    if (done) {
        header = AgeHeader::encodeUpToMac({stanza});
        done = crypto::hkdfSha256(fileKey.data(), fileKey.size(), nullptr, 0, age::kHeaderKeyLabel, macKey.data(),
                                  macKey.size()) &&
               crypto::hmacSha256(macKey.data(), macKey.size(), reinterpret_cast<const std::uint8_t*>(header.data()),
                                  header.size(), mac) &&
               crypto::hkdfSha256(fileKey.data(), fileKey.size(), nonce.data(), nonce.size(), age::kPayloadKeyLabel,
                                  payloadKey_.data(), payloadKey_.size());
    }
    wipe(fileKey.data(), fileKey.size());
    wipe(wrapKey.data(), wrapKey.size());
    wipe(macKey.data(), macKey.size());
    if (!done) return false;
    head_ = header + " " + base64Unpadded(mac.data(), mac.size()) + "\n";
    head_.append(reinterpret_cast<const char*>(nonce.data()), nonce.size());
    return true;
}

bool AgeFileWriter::sealChunk(crypto::ChaCha20Poly1305& aead, std::uint64_t index, bool last, const std::uint8_t* in,
                              std::size_t length, std::uint8_t* out) const {
    return aead.seal(payloadKey_, age::chunkNonce(index, last).data(), in, length, out);
}

}  // namespace mirado
