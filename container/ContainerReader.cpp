#include "ContainerReader.h"

#include <cstring>

#include "ContainerFormat.h"
#include "FileKinds.h"
#include "SecretMemory.h"

namespace mirado {
namespace fs = std::filesystem;

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
    std::error_code ec;
    if (!fs::exists(path, ec) || !IsContainerPath(path.native())) return false;
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) return false;

    std::uint8_t header[format::kHeaderSize];
    std::uint8_t count[4];
    ContainerInfoRecord::Bytes record;
    AdditiveKeyCipher cipher(key_);
    const bool accepted = std::fread(header, 1, sizeof header, stream) > 0 &&
                          std::fread(count, 1, sizeof count, stream) == sizeof count &&
                          cipher.decipher(count, sizeof count) &&
                          (count[0] | count[1] << 8 | count[2] << 16 | std::uint32_t(count[3]) << 24) ==
                              format::kRecordCount &&
                          std::fread(record.data(), 1, record.size(), stream) == record.size() &&
                          cipher.decipher(record.data(), record.size()) &&
                          AdditiveKeyCipher::checkValueMatches(record.data());
    nextPosition_ = cipher.position();
    if (!accepted) {
        std::fclose(stream);
        return false;
    }
    records_.push_back(ContainerInfoRecord::fromBytes(record.data()));
    stream_ = stream;
    return true;
}

void ContainerReader::copyKey(std::uint8_t* out) const { std::memcpy(out, key_.data(), key_.size()); }

bool ContainerReader::isImage() const { return records_.size() == 1 && IsImagePath(records_.front().sourceName); }

bool ContainerReader::readWholePayload(std::uint8_t* buffer, std::int64_t length, std::int64_t& bytesRead) {
    if (buffer == nullptr || length <= 0 || stream_ == nullptr) return false;
    if (fseeko(stream_, format::kPayloadOffset, SEEK_SET) != 0) return false;
    bytesRead = std::int64_t(std::fread(buffer, 1, std::size_t(length), stream_));
    if (bytesRead != length) return false;
    return decipherAt(buffer, length, format::kPayloadOffset);
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
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
}

}  // namespace mirado

extern "C" void PayloadReadHook(void* context, void* data, std::int32_t length, std::int64_t offset) {
    if (context == nullptr || data == nullptr || length == 0) return;
    static_cast<mirado::ContainerReader*>(context)->decipherAt(static_cast<std::uint8_t*>(data), length, offset);
}
