#include "AgeFileReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "AgeFormat.h"
#include "AgeHeader.h"
#include "Base64.h"
#include "ContainerFormat.h"
#include "SecretMemory.h"

namespace mirado {
namespace {

// Reads `length` bytes at `offset` unless the file ends first: the count read, or -1.
std::int64_t readFully(int fd, std::uint8_t* out, std::size_t length, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, out + done, length - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += std::size_t(got);
    }
    return std::int64_t(done);
}

// "1" to "22" and beyond, in decimal without a sign or leading zero; -1 for anything else, and a
// number too long to matter counts as too large.
int parseWorkFactor(const std::string& text) {
    if (text.empty() || text[0] < '1' || text[0] > '9') return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = std::min(value * 10 + (c - '0'), 1000);
    }
    return value;
}

// Unwraps the file key of the header's lone scrypt stanza.
AgeOutcome unwrapFileKey(const AgeHeader& header, std::string_view passphrase, AgeFileKey& fileKey) {
    std::size_t scryptStanzas = 0;
    for (const AgeStanza& stanza : header.stanzas) scryptStanzas += stanza.arguments[0] == age::kScryptType;
    if (scryptStanzas == 0) return AgeOutcome::NoPassphrase;
    // A passphrase stanza must stand alone: beside others it would let a recipient learn the key.
    if (header.stanzas.size() != 1) return AgeOutcome::HeaderFailure;
    const AgeStanza& stanza = header.stanzas.front();
    if (stanza.arguments.size() != 3 || stanza.body.size() != age::kWrappedFileKeySize) {
        return AgeOutcome::HeaderFailure;
    }
    const auto salt = decodeCanonicalBase64(stanza.arguments[1]);
    const int workFactor = parseWorkFactor(stanza.arguments[2]);
    if (!salt || salt->size() != age::kScryptSaltSize || workFactor < 0) return AgeOutcome::HeaderFailure;
    if (workFactor > kMaxWorkFactor) return AgeOutcome::WorkFactorRefused;

    std::vector<std::uint8_t> labelledSalt(age::kScryptSaltLabel.begin(), age::kScryptSaltLabel.end());
    labelledSalt.insert(labelledSalt.end(), salt->begin(), salt->end());
    crypto::Key32 wrapKey{};
    if (!crypto::scrypt(passphrase, labelledSalt.data(), labelledSalt.size(), workFactor, wrapKey)) {
        return AgeOutcome::Unreadable;  // out of memory for this work factor
    }
    const std::array<std::uint8_t, crypto::kAeadNonceSize> zeroNonce{};
    crypto::ChaCha20Poly1305 aead;
    const bool unwrapped = aead.open(wrapKey, zeroNonce.data(), stanza.body.data(), stanza.body.size(), fileKey.data());
    wipe(wrapKey.data(), wrapKey.size());
    return unwrapped ? AgeOutcome::Success : AgeOutcome::NoMatch;
}

}  // namespace

struct AgeFileReader::Head {
    AgeHeader header;
    std::string macInput;  // the header's own bytes through "---"
    std::array<std::uint8_t, age::kPayloadNonceSize> nonce{};
};

AgeFileReader::~AgeFileReader() { wipe(payloadKey_.data(), payloadKey_.size()); }

AgeOutcome AgeFileReader::readHead(int fd, Head& head) {
    std::vector<std::uint8_t> start(kHeaderLimit + age::kPayloadNonceSize);
    const std::int64_t got = readFully(fd, start.data(), start.size(), 0);
    if (got < 0) return AgeOutcome::Unreadable;
    const std::string_view text(reinterpret_cast<const char*>(start.data()), std::size_t(got));
    auto parsed = AgeHeader::parse(text);
    // A header without the payload nonce after it is cut short.
    if (!parsed || parsed->length + head.nonce.size() > text.size()) return AgeOutcome::HeaderFailure;
    std::memcpy(head.nonce.data(), start.data() + parsed->length, head.nonce.size());
    head.macInput.assign(text.substr(0, parsed->macInputLength));
    head.header = std::move(*parsed);
    return AgeOutcome::Success;
}

AgeOutcome AgeFileReader::open(int fd, std::string_view passphrase) {
    Head head;
    if (const AgeOutcome read = readHead(fd, head); read != AgeOutcome::Success) return read;
    AgeFileKey fileKey{};
    AgeOutcome outcome = unwrapFileKey(head.header, passphrase, fileKey);
    if (outcome == AgeOutcome::Success) outcome = start(fd, head, fileKey);
    wipe(fileKey.data(), fileKey.size());
    return outcome;
}

AgeOutcome AgeFileReader::openWithFileKey(int fd, const AgeFileKey& fileKey) {
    Head head;
    if (const AgeOutcome read = readHead(fd, head); read != AgeOutcome::Success) return read;
    return start(fd, head, fileKey);
}

AgeOutcome AgeFileReader::start(int fd, const Head& head, const AgeFileKey& fileKey) {
    const AgeHeader& header = head.header;
    const auto& nonce = head.nonce;
    crypto::Key32 macKey{};
    crypto::Mac32 mac{};
    const bool macDone =
        crypto::hkdfSha256(fileKey.data(), fileKey.size(), nullptr, 0, age::kHeaderKeyLabel, macKey.data(),
                           macKey.size()) &&
        crypto::hmacSha256(macKey.data(), macKey.size(), reinterpret_cast<const std::uint8_t*>(head.macInput.data()),
                           head.macInput.size(), mac);
    wipe(macKey.data(), macKey.size());
    if (!macDone) return AgeOutcome::Unreadable;
    if (!crypto::equalInConstantTime(mac.data(), header.mac.data(), mac.size())) return AgeOutcome::HmacFailure;
    if (!crypto::hkdfSha256(fileKey.data(), fileKey.size(), nonce.data(), nonce.size(), age::kPayloadKeyLabel,
                            payloadKey_.data(), payloadKey_.size())) {
        return AgeOutcome::Unreadable;
    }

    struct stat info {};
    payloadStart_ = header.length + nonce.size();
    if (::fstat(fd, &info) != 0 || std::uint64_t(info.st_size) < payloadStart_) return AgeOutcome::Unreadable;
    fd_ = fd;
    sealedSize_ = std::uint64_t(info.st_size) - payloadStart_;
    // Every chunk but the last is whole, so the file's length fixes where each chunk lies.
    chunkCount_ = (sealedSize_ + age::kSealedChunkSize - 1) / age::kSealedChunkSize;
    const std::uint64_t lastSealed = sealedSize_ - (chunkCount_ == 0 ? 0 : (chunkCount_ - 1) * age::kSealedChunkSize);
    const std::uint64_t lastPlain = lastSealed > crypto::kAeadTagSize ? lastSealed - crypto::kAeadTagSize : 0;
    plaintextSize_ = chunkCount_ == 0 ? 0 : (chunkCount_ - 1) * age::kChunkSize + lastPlain;
    // No chunk at all, a last chunk too short for its tag, or an empty last chunk after others.
    if (chunkCount_ == 0 || lastSealed < crypto::kAeadTagSize || (chunkCount_ > 1 && lastPlain == 0)) {
        return AgeOutcome::PayloadFailure;
    }
    // The last chunk, under the last-chunk flag, proves that nothing was cut off or added.
    std::vector<std::uint8_t> last(age::kSealedChunkSize);
    bool openedAsLast = false;
    return openChunk(chunkCount_ - 1, last.data(), true, openedAsLast) < 0 ? AgeOutcome::PayloadFailure
                                                                            : AgeOutcome::Success;
}

std::int64_t AgeFileReader::openChunk(std::uint64_t index, std::uint8_t* plain, bool strict,
                                      bool& openedAsLast) const {
    // One cipher context and one buffer per thread: the engine reads from threads of its own.
    thread_local crypto::ChaCha20Poly1305 aead;
    thread_local std::vector<std::uint8_t> sealed(age::kSealedChunkSize);
    const bool last = index + 1 == chunkCount_;
    const std::uint64_t offset = index * age::kSealedChunkSize;
    const std::size_t length = last ? std::size_t(sealedSize_ - offset) : age::kSealedChunkSize;
    if (length < crypto::kAeadTagSize) return -1;
    if (readFully(fd_, sealed.data(), length, payloadStart_ + offset) != std::int64_t(length)) return -1;
    openedAsLast = last;
    if (!aead.open(payloadKey_, age::chunkNonce(index, last).data(), sealed.data(), length, plain)) {
        // A whole-size chunk may be a last one followed by more bytes, or the file may end after a
        // chunk that is not the last: either way its bytes are authentic, and what follows is not.
        if (strict || length != age::kSealedChunkSize) return -1;
        openedAsLast = !last;
        if (!aead.open(payloadKey_, age::chunkNonce(index, !last).data(), sealed.data(), length, plain)) return -1;
    }
    return std::int64_t(length - crypto::kAeadTagSize);
}

std::int64_t AgeFileReader::readAt(std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) const {
    if (fd_ < 0 || (buffer == nullptr && length > 0)) return -1;
    if (position >= plaintextSize_) return 0;
    const std::uint64_t want = std::min(length, plaintextSize_ - position);
    thread_local std::vector<std::uint8_t> plain(age::kChunkSize);
    std::uint64_t done = 0;
    while (done < want) {
        const std::uint64_t at = position + done;
        const std::uint64_t index = at / age::kChunkSize;
        const std::size_t within = std::size_t(at % age::kChunkSize);
        if (index > earlyLastChunk_.load()) return -1;
        bool openedAsLast = false;
        const std::int64_t opened = openChunk(index, plain.data(), false, openedAsLast);
        if (opened < 0 || std::size_t(opened) <= within) return -1;
        if (openedAsLast && index + 1 < chunkCount_) {
            std::uint64_t known = earlyLastChunk_.load();
            while (index < known && !earlyLastChunk_.compare_exchange_weak(known, index)) {
            }
        }
        const std::size_t take = std::size_t(std::min<std::uint64_t>(std::size_t(opened) - within, want - done));
        std::memcpy(buffer + done, plain.data() + within, take);
        done += take;
    }
    return std::int64_t(done);
}

}  // namespace mirado
