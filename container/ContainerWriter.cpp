#include "ContainerWriter.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

#include "CompatibleBodyWriter.h"
#include "ContainerFormat.h"
#include "ContainerInfoRecord.h"
#include "ContainerOutputFile.h"
#include "ContainerSourceFile.h"
#include "SealedBodyWriter.h"
#include "SecretMemory.h"
#include "Utf.h"
#include "WatermarkText.h"

namespace mirado {
namespace fs = std::filesystem;
namespace {

void putU32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = std::uint8_t(value >> (8 * i));
}

std::uint32_t tickCount() {
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

WriteResult failure(WriteError error, int systemError = 0) { return {error, systemError}; }

}  // namespace

std::string WriteResult::describe() const {
    const char* what = "";
    switch (error) {
        case WriteError::None: return "written";
        case WriteError::SourceMissing: what = "the source does not exist"; break;
        case WriteError::DestinationMissing: what = "the destination folder does not exist"; break;
        case WriteError::SourceUnreadable: what = "cannot open the source"; break;
        case WriteError::NotAFile: what = "the source is not a regular file"; break;
        case WriteError::SourceChanged: what = "the source changed while it was read"; break;
        case WriteError::NameTooLong: what = "the container's path is too long"; break;
        case WriteError::OutputNotCreated: what = "cannot create the container"; break;
        case WriteError::ReadFailed: what = "reading the source failed"; break;
        case WriteError::WriteFailed: what = "writing the container failed"; break;
        case WriteError::Cancelled: return "cancelled";
        case WriteError::FolderUnreadable: what = "cannot read the folder; its files were not enciphered"; break;
        case WriteError::WorkFactorRefused:
            return "the work factor must be a number from " + std::to_string(kMinWorkFactor) + " to " +
                   std::to_string(kMaxWorkFactor);
        case WriteError::CipherFailed: what = "the cryptographic library failed"; break;
    }
    std::string text = what;
    if (systemError != 0) text += std::string(": ") + std::strerror(systemError);
    return text;
}

void ContainerWriter::setVersion(ContainerVersion version, int workFactor) {
    version_ = version;
    workFactor_ = workFactor;
}

void ContainerWriter::configure(const ContainerKey& key, bool watermarkEnabled, std::u16string_view watermarkText,
                                std::uint8_t watermarkPosition, std::uint8_t watermarkColour,
                                std::uint8_t watermarkFontSize) {
    random_.seed(tickCount());
    key_ = key;
    followers_ = 0;
    watermarkEnabled_ = watermarkEnabled;
    watermarkText_ = watermarkTextForRecord(watermarkText);
    watermarkPosition_ = watermarkPosition;
    watermarkColour_ = watermarkColour;
    watermarkFontSize_ = watermarkFontSize;
}

std::string ContainerWriter::baseNameOf(const fs::path& path) {
    const std::string name = path.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ContainerWriter::containerNameFor(const fs::path& source) {
    return baseNameOf(source) + "." + std::string(format::kExtension);
}

ContainerInfoRecord ContainerWriter::recordFor(const fs::path& source, std::uint64_t sourceSize) const {
    ContainerInfoRecord record;
    record.payloadSize = sourceSize;
    record.sourceName = toUtf16(source.filename().string());
    if (watermarkEnabled_) {
        record.watermarkText = watermarkText_;
        record.watermarkPosition = watermarkPosition_;
        record.watermarkColour = watermarkColour_;
        record.watermarkFontSize = watermarkFontSize_;
    }
    return record;
}

std::size_t ContainerWriter::layOutHead(std::uint8_t* at, const ContainerInfoRecord& record) {
    std::memset(at, 0, format::kHeaderSize);
    putU32(at + format::kFormatTagAt, format::kFormatTag);
    // Readers give the mark no meaning; it only tells a watermarked container at a glance (never 0).
    const std::uint32_t r = std::uint32_t(random_() % 32768u);
    const std::uint32_t mark = watermarkEnabled_ ? (r % 1000000u) + 10u : 0u;
    putU32(at + format::kWatermarkMarkAt, mark);
    putU32(at + format::kRecordCountOffset, format::kRecordCount);
    const auto recordBytes = record.toBytes();
    std::memcpy(at + format::kRecordOffset, recordBytes.data(), recordBytes.size());
    return std::size_t(format::kPayloadOffset);
}

WriteResult ContainerWriter::encipherFile(const fs::path& source, const fs::path& destinationFolder,
                                          const WriteProgress& progress) {
    return encipherFileAs(source, destinationFolder, containerNameFor(source), progress);
}

WriteResult ContainerWriter::encipherFileAs(const fs::path& source, const fs::path& destinationFolder,
                                            const std::string& containerFileName, const WriteProgress& progress) {
    if (version_ == ContainerVersion::Sealed && (workFactor_ < kMinWorkFactor || workFactor_ > kMaxWorkFactor)) {
        return failure(WriteError::WorkFactorRefused);
    }
    // Missing sources and folders are told by open's answers: no look before each file.
    if (source.empty()) return failure(WriteError::SourceMissing, ENOENT);
    if (destinationFolder.empty()) return failure(WriteError::DestinationMissing, ENOENT);
    const fs::path target = destinationFolder / containerFileName;
    if (containerFileName.size() > NAME_MAX || target.native().size() >= PATH_MAX) {
        return failure(WriteError::NameTooLong, ENAMETOOLONG);
    }

    ContainerSourceFile input;
    switch (input.open(source)) {
        case ContainerSourceFile::Refusal::None: break;
        case ContainerSourceFile::Refusal::Missing: return failure(WriteError::SourceMissing, input.error());
        case ContainerSourceFile::Refusal::Unreadable: return failure(WriteError::SourceUnreadable, input.error());
        case ContainerSourceFile::Refusal::NotAFile: return failure(WriteError::NotAFile, input.error());
    }
    const std::uint64_t sourceSize = input.size();

    ContainerOutputFile output;
    if (!output.create(target)) {
        const int error = errno;
        const bool noFolder = error == ENOENT || error == ENOTDIR;
        return failure(noFolder ? WriteError::DestinationMissing : WriteError::OutputNotCreated, error);
    }
    // From here on every failure abandons the output, so nothing partial stays behind.
    auto abandon = [&](WriteError error, int systemError) {
        output.abandon();
        return failure(error, systemError);
    };
    // Both formats come into place the same way: whole and under their name, or not at all.
    const auto finish = [&]() -> WriteResult {
        if (!input.unchangedSinceOpened()) return abandon(WriteError::SourceChanged, 0);
        if (!output.commit()) return failure(WriteError::WriteFailed, errno);
        return {};
    };

    if (version_ == ContainerVersion::Sealed) {
        std::string passphrase = passphraseOf(key_);
        // While containers follow, their keys are wrapped ahead; a lone container wraps its own while
        // its body is sealed.
        if (followers_ > 0) keysAhead_.keepUnderWay(passphrase, workFactor_, followers_ + 1);
        followers_ = 0;
        const std::unique_ptr<AgeFileWriter> age = keysAhead_.take(passphrase, workFactor_);
        const WriteResult body = age ? writeSealedBody(input.get(), output.get(), sourceSize,
                                                       recordFor(source, sourceSize), *age, passphrase, workFactor_,
                                                       progress)
                                     : WriteResult{WriteError::CipherFailed, 0};
        wipe(passphrase.data(), passphrase.size());
        if (!body) return abandon(body.error, body.systemError);
        return finish();
    }

    CompatibleHead head;
    layOutHead(head.data(), recordFor(source, sourceSize));
    const WriteResult body = writeCompatibleBody(input.get(), output.get(), head, sourceSize, key_, units_, progress);
    if (!body) return abandon(body.error, body.systemError);
    return finish();
}

}  // namespace mirado
