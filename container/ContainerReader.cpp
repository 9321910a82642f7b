#include "ContainerReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "AgeFileReader.h"
#include "ContainerFormat.h"
#include "FileKinds.h"
#include "SealedPreamble.h"
#include "SecretMemory.h"

namespace mirado {
namespace fs = std::filesystem;
namespace {

// A format 2 container is an age file, whose first line is "age-encryption.org/v1". A format 1
// container begins with its format tag 10001, so a file that begins like an age file is taken as one
// even with a changed version, and is then refused as damaged rather than as a wrong password.
constexpr std::string_view kAgeStart = "age-encryption.org/";

bool startsLikeAge(std::FILE* stream) {
    char start[kAgeStart.size()];
    const std::size_t got = std::fread(start, 1, sizeof start, stream);
    std::rewind(stream);
    return got == sizeof start && std::string_view(start, sizeof start) == kAgeStart;
}

// Only a regular file: opening a FIFO named like a container would wait for a writer that may never
// come, and a device could be read without end. O_NONBLOCK keeps the open itself from waiting.
std::FILE* openRegularFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* stream = ::fdopen(fd, "rb");
    if (stream == nullptr) ::close(fd);
    return stream;
}

}  // namespace

ContainerReader::ContainerReader() = default;
ContainerReader::~ContainerReader() {
    close();
    wipe(key_.data(), key_.size());
}

void ContainerReader::setKey(const ContainerKey& key) {
    key_ = key;
    nextPosition_ = 0;
}

bool ContainerReader::open(const fs::path& path) {
    close();
    records_.clear();  // a reader holds the record of the container it opened last, never two
    version_ = ContainerVersion::Compatible;
    lastFailure_ = OpenFailure::Unreadable;
    std::error_code ec;
    if (!fs::exists(path, ec) || !IsContainerPath(path.native())) return false;
    std::FILE* stream = openRegularFile(path);
    if (stream == nullptr) return false;
    if (startsLikeAge(stream)) version_ = ContainerVersion::Sealed;
    const bool opened = version_ == ContainerVersion::Sealed ? openSealed(stream) : openCompatible(stream);
    if (!opened) {
        std::fclose(stream);
        return false;
    }
    lastFailure_ = OpenFailure::None;
    stream_ = stream;
    return true;
}

bool ContainerReader::openCompatible(std::FILE* stream) {
    std::uint8_t header[format::kHeaderSize];
    std::uint8_t count[4];
    ContainerInfoRecord::Bytes record;
    AdditiveKeyCipher cipher(key_);
    const bool complete = std::fread(header, 1, sizeof header, stream) > 0 &&
                          std::fread(count, 1, sizeof count, stream) == sizeof count &&
                          cipher.decipher(count, sizeof count) &&
                          std::fread(record.data(), 1, record.size(), stream) == record.size();
    if (!complete) {
        lastFailure_ = OpenFailure::Damaged;  // shorter than any whole container
        return false;
    }
    // A wrong key and a file that is no container at all look the same in format 1.
    const bool accepted = (count[0] | count[1] << 8 | count[2] << 16 | std::uint32_t(count[3]) << 24) ==
                              format::kRecordCount &&
                          cipher.decipher(record.data(), record.size()) &&
                          AdditiveKeyCipher::checkValueMatches(record.data());
    nextPosition_ = cipher.position();
    if (!accepted) {
        lastFailure_ = OpenFailure::WrongPassword;
        return false;
    }
    records_.push_back(ContainerInfoRecord::fromBytes(record.data()));
    return true;
}

bool ContainerReader::openSealed(std::FILE* stream) {
    auto age = std::make_unique<AgeFileReader>();
    std::string passphrase = passphraseOf(key_);
    const AgeOutcome outcome = age->open(fileno(stream), passphrase);
    wipe(passphrase.data(), passphrase.size());
    switch (outcome) {
        case AgeOutcome::Success: break;
        case AgeOutcome::NoMatch: lastFailure_ = OpenFailure::WrongPassword; return false;
        case AgeOutcome::Unreadable: lastFailure_ = OpenFailure::Unreadable; return false;
        case AgeOutcome::NoPassphrase:
        case AgeOutcome::WorkFactorRefused: lastFailure_ = OpenFailure::Unsupported; return false;
        case AgeOutcome::HeaderFailure:
        case AgeOutcome::HmacFailure:
        case AgeOutcome::PayloadFailure: lastFailure_ = OpenFailure::Damaged; return false;
    }
    SealedPreamble::Bytes preamble{};
    const std::int64_t got = age->readAt(0, preamble.data(), preamble.size());
    if (got < 0) {
        lastFailure_ = OpenFailure::Damaged;
        return false;
    }
    // Authentic, so not damaged: an age file of someone else's making.
    const auto record = SealedPreamble::parse(preamble.data(), age->plaintextSize());
    if (std::size_t(got) != preamble.size() || !record) {
        lastFailure_ = OpenFailure::Unsupported;
        return false;
    }
    records_.push_back(*record);
    sealed_ = std::move(age);
    return true;
}

void ContainerReader::copyKey(std::uint8_t* out) const { std::memcpy(out, key_.data(), key_.size()); }

bool ContainerReader::isImage() const { return records_.size() == 1 && IsImagePath(records_.front().sourceName); }

bool ContainerReader::readWholePayload(std::uint8_t* buffer, std::int64_t length, std::int64_t& bytesRead) {
    if (buffer == nullptr || length <= 0 || stream_ == nullptr) return false;
    if (version_ == ContainerVersion::Sealed) {
        const std::int64_t got = readPayloadAt(0, buffer, std::uint64_t(length));
        if (got < 0) return false;
        bytesRead = got;
        return bytesRead == length;
    }
    if (fseeko(stream_, format::kPayloadOffset, SEEK_SET) != 0) return false;
    bytesRead = std::int64_t(std::fread(buffer, 1, std::size_t(length), stream_));
    if (bytesRead != length) return false;
    return decipherAt(buffer, length, format::kPayloadOffset);
}

std::int64_t ContainerReader::readPayloadAt(std::uint64_t position, std::uint8_t* buffer,
                                            std::uint64_t length) const {
    if (stream_ == nullptr || records_.empty() || (buffer == nullptr && length > 0)) return -1;
    const std::uint64_t size = records_.front().payloadSize;
    if (position >= size) return 0;
    const std::uint64_t want = std::min(length, size - position);
    if (sealed_) return sealed_->readAt(SealedPreamble::kSize + position, buffer, want);
    // A record may claim any size; where no file offset can reach, no file holds a byte.
    if (position > std::uint64_t(std::numeric_limits<std::int64_t>::max() - format::kPayloadOffset)) return 0;
    const std::int64_t offset = format::kPayloadOffset + std::int64_t(position);
    std::uint64_t done = 0;
    while (done < want) {
        const ssize_t got = ::pread(fileno(stream_), buffer + done, want - done, offset + std::int64_t(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;  // a container cut short inside the payload ends early
        done += std::uint64_t(got);
    }
    // A cipher of its own, so that calls from several threads never share a key position.
    AdditiveKeyCipher cipher(key_);
    cipher.seekTo(offset);
    cipher.decipher(buffer, std::size_t(done));
    return std::int64_t(done);
}

bool ContainerReader::decipherAt(std::uint8_t* buffer, std::int64_t length, std::int64_t offset) {
    if (buffer == nullptr || length == 0) return false;
    // A local cipher per call: the engine may call from several threads at once, and a block with an
    // explicit offset depends on nothing but that offset.
    AdditiveKeyCipher cipher(key_);
    if (offset == -1) {
        cipher.setPosition(nextPosition_);
    } else if (!cipher.seekTo(offset)) {
        return false;
    }
    if (length > 0) cipher.decipher(buffer, std::size_t(length));
    nextPosition_ = cipher.position();
    return true;
}

void ContainerReader::close() {
    sealed_.reset();  // its payload key goes with it
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
}

}  // namespace mirado

extern "C" void PayloadReadHook(void* context, void* data, std::int32_t length, std::int64_t offset) {
    if (context == nullptr || data == nullptr || length == 0) return;
    static_cast<mirado::ContainerReader*>(context)->decipherAt(static_cast<std::uint8_t*>(data), length, offset);
}
