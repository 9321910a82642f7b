#include "SealedBodyWriter.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>

#include "AgeFileWriter.h"
#include "ProgressMarks.h"
#include "SealedPreamble.h"
#include "TransferBuffer.h"

namespace mirado {
namespace {

// The unit a thread reads, seals and writes in one go: small enough to stay in the caches from
// the read to the write, which is what makes the copy as cheap as a plain one. Each chunk is read into
// its place in the sealed run and sealed there, so one buffer serves both.
constexpr std::size_t kUnitChunks = 8;
constexpr std::size_t kUnitPlain = kUnitChunks * age::kChunkSize;
// Progress is told, and a cancel heard, at every step of this many bytes of sealed plaintext.
constexpr std::uint64_t kProgressStep = ContainerWriter::kChunkSize;

// The file's layout, and what each unit needs to find its bytes.
struct SealedLayout {
    const AgeFileWriter& age;
    std::uint64_t bodyStart;  // where the first chunk lies: the head's length
    const SealedPreamble::Bytes& preamble;
    int input;
    int output;
    std::uint64_t plaintextSize;
    std::uint64_t chunkCount;
};

WriteResult readAt(int fd, std::uint8_t* out, std::size_t length, std::uint64_t offset) {
    while (length > 0) {
        const ssize_t got = ::pread(fd, out, length, off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return {WriteError::ReadFailed, errno};
        if (got == 0) return {WriteError::SourceChanged, 0};  // it shrank
        out += got;
        offset += std::uint64_t(got);
        length -= std::size_t(got);
    }
    return {};
}

WriteResult writeAt(int fd, const std::uint8_t* data, std::size_t length, std::uint64_t offset) {
    while (length > 0) {
        const ssize_t written = ::pwrite(fd, data, length, off_t(offset));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return {WriteError::WriteFailed, written == 0 ? ENOSPC : errno};
        data += written;
        offset += std::uint64_t(written);
        length -= std::size_t(written);
    }
    return {};
}

// Fills `out` with `length` bytes of plaintext from `offset`: the preamble, then the source.
WriteResult readPlaintext(const SealedLayout& layout, std::uint64_t offset, std::uint8_t* out, std::size_t length) {
    std::size_t fromPreamble = 0;
    if (offset < SealedPreamble::kSize) {
        fromPreamble = std::min(length, std::size_t(SealedPreamble::kSize - offset));
        std::copy_n(layout.preamble.begin() + std::ptrdiff_t(offset), fromPreamble, out);
    }
    return readAt(layout.input, out + fromPreamble, length - fromPreamble,
                  offset + fromPreamble - SealedPreamble::kSize);
}

// One unit read and sealed, waiting to be written: the chunks lie in `buffer` one after the other,
// as they lie in the file.
struct SealedRun {
    TransferBuffer buffer;  // made when first needed: a small file, or a thread never kept waiting, needs one
    std::uint64_t unit = 0;
    std::size_t sealedLength = 0;  // 0 while there is nothing to write
    std::size_t plaintextLength = 0;
};

// Reads and seals one unit into `run`, each chunk in place under its own counter.
WriteResult sealUnit(const SealedLayout& layout, std::uint64_t unit, SealedRun& run, crypto::ChaCha20Poly1305& aead) {
    const std::uint64_t from = unit * kUnitPlain;
    const std::size_t length = std::size_t(std::min<std::uint64_t>(kUnitPlain, layout.plaintextSize - from));
    const std::uint64_t firstChunk = unit * kUnitChunks;
    if (run.buffer.empty()) run.buffer.resize(kUnitChunks * age::kSealedChunkSize);
    std::size_t sealedLength = 0;
    for (std::size_t i = 0; i * age::kChunkSize < length; ++i) {  // the plaintext is never empty: the preamble
        const std::size_t chunkLength = std::min(age::kChunkSize, length - i * age::kChunkSize);
        const std::uint64_t index = firstChunk + i;
        std::uint8_t* chunk = run.buffer.data() + sealedLength;
        if (WriteResult read = readPlaintext(layout, from + i * age::kChunkSize, chunk, chunkLength); !read) {
            return read;
        }
        if (!layout.age.sealChunk(aead, index, index + 1 == layout.chunkCount, chunk, chunkLength, chunk)) {
            return {WriteError::CipherFailed, 0};
        }
        sealedLength += chunkLength + crypto::kAeadTagSize;
    }
    run.unit = unit;
    run.sealedLength = sealedLength;
    run.plaintextLength = length;
    return {};
}

// The units of a file, taken by both threads from one counter so that neither idles or waits for the
// other while work is left. The first failure, or a cancel, ends the work for both.
//
// The file system lets one write into a file run at a time, and a thread waiting for it spins. So a
// thread that finds the other writing seals its next unit into a second buffer first, and writes
// both when the file is free again.
class SealingWork {
public:
    SealingWork(const SealedLayout& layout, std::uint64_t units) : layout_(layout), units_(units) {}

    // Seals units until none is left or the work has ended; `betweenUnits` may end it by returning a
    // failure.
    template <typename BetweenUnits>
    void run(BetweenUnits&& betweenUnits) {
        std::array<SealedRun, 2> runs;
        crypto::ChaCha20Poly1305 aead;
        for (;;) {
            SealedRun* free = runs[0].sealedLength == 0 ? &runs[0] : runs[1].sealedLength == 0 ? &runs[1] : nullptr;
            std::uint64_t unit = 0;
            if (free == nullptr || failed_ || (unit = next_.fetch_add(1)) >= units_) break;
            WriteResult result = sealUnit(layout_, unit, *free, aead);
            if (result) {
                std::unique_lock file(file_, std::try_to_lock);
                const bool full = runs[0].sealedLength != 0 && runs[1].sealedLength != 0;
                if (!file.owns_lock() && full) file.lock();
                if (file.owns_lock()) result = writeRuns(runs);
            }
            if (result) result = betweenUnits();
            if (!result) fail(result);
        }
        std::lock_guard file(file_);
        if (WriteResult result = writeRuns(runs); !result) fail(result);
    }
    std::uint64_t sealedPlaintext() const { return sealed_; }
    // Ends the work for both threads; the first failure is the one result() tells.
    void fail(const WriteResult& result) {
        std::lock_guard lock(mutex_);
        if (!failed_.exchange(true)) failure_ = result;
    }
    WriteResult result() {
        std::lock_guard lock(mutex_);
        return failed_ ? failure_ : WriteResult{};
    }

private:
    // Writes the sealed runs where their chunks lie in the file; the caller holds the file.
    WriteResult writeRuns(std::array<SealedRun, 2>& runs) {
        for (SealedRun& run : runs) {
            if (run.sealedLength == 0 || failed_) continue;
            const std::uint64_t at = layout_.bodyStart + run.unit * kUnitChunks * age::kSealedChunkSize;
            if (WriteResult written = writeAt(layout_.output, run.buffer.data(), run.sealedLength, at); !written) {
                return written;
            }
            sealed_ += run.plaintextLength;
            run.sealedLength = 0;
        }
        return {};
    }

    const SealedLayout& layout_;
    const std::uint64_t units_;
    std::atomic<std::uint64_t> next_{0}, sealed_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_, file_;
    WriteResult failure_;
};

}  // namespace

WriteResult writeSealedBody(int input, int output, std::uint64_t sourceSize, const ContainerInfoRecord& record,
                            AgeFileWriter& age, std::string_view passphrase, int workFactor,
                            const WriteProgress& progress) {
    const SealedPreamble::Bytes preamble = SealedPreamble::toBytes(record);
    const std::uint64_t plaintextSize = SealedPreamble::kSize + sourceSize;
    const SealedLayout layout{
        age, AgeFileWriter::headSize(workFactor), preamble, input, output, plaintextSize,
        AgeFileWriter::chunkCount(plaintextSize)};
    const std::uint64_t unitCount = (layout.chunkCount + kUnitChunks - 1) / kUnitChunks;

    SealingWork work(layout, unitCount);
    // The chunks need only the file key, not the password's: the helper seals while this thread runs
    // scrypt, which takes a good part of a second on purpose, and writes the head.
    std::thread helper([&work] { work.run([] { return WriteResult{}; }); });
    if (age.head().empty() && !age.sealHead(passphrase, workFactor)) {
        work.fail({WriteError::CipherFailed, 0});
    } else if (WriteResult written = writeAt(output, reinterpret_cast<const std::uint8_t*>(age.head().data()),
                                             age.head().size(), 0);
               !written) {
        work.fail(written);
    }
    // Told at every step of sealed plaintext and at the end, so a step seen late is still told.
    ProgressMarks marks(plaintextSize, kProgressStep);
    const auto tell = [&]() -> WriteResult {
        const bool goOn = marks.passTo(work.sealedPlaintext(), [&](std::uint64_t mark) {
            return !progress || progress(mark - std::min<std::uint64_t>(mark, SealedPreamble::kSize));
        });
        return goOn ? WriteResult{} : WriteResult{WriteError::Cancelled, 0};
    };
    work.run(tell);
    helper.join();
    // The helper may have sealed the last unit after this thread's last look.
    if (WriteResult result = work.result(); !result) return result;
    return tell();
}

}  // namespace mirado
