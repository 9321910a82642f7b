#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "AdditiveKeyCipher.h"
#include "ContainerFormat.h"
#include "ContainerKey.h"
#include "SealedKeysAhead.h"
#include "TransferBuffer.h"

namespace mirado {

struct ContainerInfoRecord;

enum class WriteError {
    None,
    SourceMissing,        // no such file, or an empty path
    DestinationMissing,   // the destination folder does not exist (the writer never creates folders)
    SourceUnreadable,     // cannot be opened for reading (no permission, ...)
    NotAFile,             // a folder, FIFO, device, socket or generated file: only regular files are taken
    NameTooLong,          // the container's path exceeds what the platform accepts
    OutputNotCreated,     // the temporary output could not be created
    ReadFailed,           // a read failed mid-way
    SourceChanged,        // the source grew or shrank while it was read
    WriteFailed,          // disk full, file-size limit, I/O error
    Cancelled,            // the progress callback asked to stop
    FolderUnreadable,     // not the writer's: a folder job could not read a folder, so its files were not seen
    WorkFactorRefused,    // a format 2 work factor outside kMinWorkFactor..kMaxWorkFactor
    CipherFailed,         // the cryptographic library failed (no random bytes, ...)
};

struct WriteResult {
    WriteError error = WriteError::None;
    int systemError = 0;  // errno where the system gave one
    explicit operator bool() const { return error == WriteError::None; }
    // One line for a person, e.g. "cannot read the source: Permission denied".
    std::string describe() const;
};

// Called after every chunk with the payload bytes written so far; returning false cancels the write.
using WriteProgress = std::function<bool(std::uint64_t bytesDone)>;

// Enciphers one source file into one container, in format 1 (the default) or format 2. The container
// appears under its name only once it is whole (see ContainerOutputFile), so a failed, cancelled or
// killed run leaves an earlier container of that name untouched and no partial file behind.
class ContainerWriter {
public:
    // Progress is reported after every chunk of this many payload bytes (and after the last one).
    inline static constexpr std::size_t kChunkSize = 4u << 20;

    // The format of every following container until changed. For format 2 the passphrase is the key's
    // bytes up to the first zero, hardened by scrypt with 2^workFactor; a work factor age would refuse
    // makes the following writes fail with WorkFactorRefused.
    void setVersion(ContainerVersion version, int workFactor = kDefaultWorkFactor);
    ContainerVersion version() const { return version_; }
    int workFactor() const { return workFactor_; }

    // Call before every file: resets the key position, draws a fresh watermark mark and forgets
    // expectFollowers().
    void configure(const ContainerKey& key, bool watermarkEnabled, std::u16string_view watermarkText,
                   std::uint8_t watermarkPosition, std::uint8_t watermarkColour, std::uint8_t watermarkFontSize);

    // Writes DEST/BASE.pmpk, BASE being the source's file name cut before its last ".".
    WriteResult encipherFile(const std::filesystem::path& source, const std::filesystem::path& destinationFolder,
                             const WriteProgress& progress = {});
    // The same under a given container file name (folder jobs use it to keep two sources apart).
    WriteResult encipherFileAs(const std::filesystem::path& source, const std::filesystem::path& destinationFolder,
                               const std::string& containerFileName, const WriteProgress& progress = {});

    // Tells the writer how many containers under the same password follow the next one: in format 2
    // their keys are then wrapped on other threads while the next one is written.
    void expectFollowers(std::size_t count) { followers_ = count; }

    // "clip.part1.mp4" -> "clip.part1.pmpk"; "README" -> "README.pmpk".
    static std::string containerNameFor(const std::filesystem::path& source);
    // The file name cut before its last "."; a name without "." stays whole.
    static std::string baseNameOf(const std::filesystem::path& path);

private:
    ContainerInfoRecord recordFor(const std::filesystem::path& source, std::uint64_t sourceSize) const;
    // Lays the plain header, the record count and the record out at `at`, drawing the watermark mark;
    // returns their length, the payload's offset.
    std::size_t layOutHead(std::uint8_t* at, const ContainerInfoRecord& record);

    ContainerVersion version_ = ContainerVersion::Compatible;
    int workFactor_ = kDefaultWorkFactor;
    ContainerKey key_{};
    bool watermarkEnabled_ = false;
    std::u16string watermarkText_;
    std::uint8_t watermarkPosition_ = 0;
    std::uint8_t watermarkColour_ = 0;
    std::uint8_t watermarkFontSize_ = 0;
    std::uint32_t watermarkMark_ = 0;
    std::minstd_rand random_;
    FileUnits units_;  // the payload passes through them, kept across files
    std::size_t followers_ = 0;
    SealedKeysAhead keysAhead_;
};

}  // namespace mirado
