#include "AgeFileWriter.h"

#include "AgeHeader.h"
#include "Base64.h"
#include "ContainerFormat.h"
#include "SecretMemory.h"

namespace mirado {
namespace {

// The header text through "---" for one scrypt stanza.
std::string headerUpToMac(const std::array<std::uint8_t, age::kScryptSaltSize>& salt, int workFactor,
                          const std::vector<std::uint8_t>& wrappedKey) {
    AgeStanza stanza;
    stanza.arguments = {std::string(age::kScryptType), base64Unpadded(salt.data(), salt.size()),
                        std::to_string(workFactor)};
    stanza.body = wrappedKey;
    return AgeHeader::encodeUpToMac({stanza});
}

// The file's first bytes: the header, its MAC line and the payload nonce.
std::string headOf(const std::string& headerUpToMac, const crypto::Mac32& mac,
                   const std::array<std::uint8_t, age::kPayloadNonceSize>& nonce) {
    std::string head = headerUpToMac + " " + base64Unpadded(mac.data(), mac.size()) + "\n";
    head.append(reinterpret_cast<const char*>(nonce.data()), nonce.size());
    return head;
}

}  // namespace

AgeFileWriter::~AgeFileWriter() {
    wipe(fileKey_.data(), fileKey_.size());
    wipe(payloadKey_.data(), payloadKey_.size());
}

bool AgeFileWriter::begin() {
    head_.clear();
    return crypto::randomBytes(fileKey_.data(), fileKey_.size()) &&
           crypto::randomBytes(nonce_.data(), nonce_.size()) &&
           crypto::hkdfSha256(fileKey_.data(), fileKey_.size(), nonce_.data(), nonce_.size(), age::kPayloadKeyLabel,
                              payloadKey_.data(), payloadKey_.size());
}

std::size_t AgeFileWriter::headSize(int workFactor) {
    // Every part has a fixed length for a given work factor, whatever the secret values.
    return headOf(headerUpToMac({}, workFactor, std::vector<std::uint8_t>(age::kWrappedFileKeySize)), {}, {}).size();
}

bool AgeFileWriter::sealHead(std::string_view passphrase, int workFactor) {
    if (workFactor < kMinWorkFactor || workFactor > kMaxWorkFactor) return false;
    std::array<std::uint8_t, age::kScryptSaltSize> salt{};
    std::vector<std::uint8_t> wrappedKey(age::kWrappedFileKeySize);
    crypto::Key32 wrapKey{}, macKey{};
    crypto::Mac32 mac{};
    std::string header;
    std::string labelledSalt(age::kScryptSaltLabel);
    const std::array<std::uint8_t, crypto::kAeadNonceSize> zeroNonce{};
    crypto::ChaCha20Poly1305 aead;
    bool done = crypto::randomBytes(salt.data(), salt.size());
    if (done) {
        labelledSalt.append(reinterpret_cast<const char*>(salt.data()), salt.size());
        done = crypto::scrypt(passphrase, reinterpret_cast<const std::uint8_t*>(labelledSalt.data()),
                              labelledSalt.size(), workFactor, wrapKey) &&
               aead.seal(wrapKey, zeroNonce.data(), fileKey_.data(), fileKey_.size(), wrappedKey.data());
    }
    if (done) {
        header = headerUpToMac(salt, workFactor, wrappedKey);
        done = crypto::hkdfSha256(fileKey_.data(), fileKey_.size(), nullptr, 0, age::kHeaderKeyLabel, macKey.data(),
                                  macKey.size()) &&
               crypto::hmacSha256(macKey.data(), macKey.size(),
                                  reinterpret_cast<const std::uint8_t*>(header.data()), header.size(), mac);
    }
    wipe(wrapKey.data(), wrapKey.size());
    wipe(macKey.data(), macKey.size());
    if (!done) return false;
    head_ = headOf(header, mac, nonce_);
    return true;
}

bool AgeFileWriter::sealChunk(crypto::ChaCha20Poly1305& aead, std::uint64_t index, bool last, const std::uint8_t* in,
                              std::size_t length, std::uint8_t* out) const {
    return aead.seal(payloadKey_, age::chunkNonce(index, last).data(), in, length, out);
}

}  // namespace mirado
