#include "SealedBodyWriter.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "AgeFileWriter.h"
#include "SealedPreamble.h"

namespace mirado {
namespace {

// The unit a thread reads, seals and writes in one go: small enough to stay in the core's cache from
// the read to the write, which is what makes the copy as cheap as a plain one.
constexpr std::size_t kUnitChunks = 4;
constexpr std::size_t kUnitPlain = kUnitChunks * age::kChunkSize;
constexpr std::size_t kUnitSealed = kUnitChunks * age::kSealedChunkSize;
// Progress is told, and a cancel heard, after every batch of this many bytes of plaintext.
constexpr std::size_t kBatchUnits = ContainerWriter::kChunkSize / kUnitPlain;

// One thread's buffers for a unit.
struct UnitBuffers {
    std::vector<std::uint8_t> plain = std::vector<std::uint8_t>(kUnitPlain);
    std::vector<std::uint8_t> sealed = std::vector<std::uint8_t>(kUnitSealed);
};

// The file's layout, and what each unit needs to find its bytes.
struct SealedLayout {
    const AgeFileWriter& age;
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

// Reads, seals and writes one unit: the preamble and the source bytes it covers, each chunk sealed
// under its own counter, written where the chunks lie in the file.
WriteResult sealUnit(const SealedLayout& layout, std::uint64_t unit, UnitBuffers& buffers,
                     crypto::ChaCha20Poly1305& aead) {
    const std::uint64_t from = unit * kUnitPlain;
    const std::size_t length = std::size_t(std::min<std::uint64_t>(kUnitPlain, layout.plaintextSize - from));
    std::size_t at = 0;
    if (from < SealedPreamble::kSize) {
        at = std::min(length, std::size_t(SealedPreamble::kSize - from));
        std::copy_n(layout.preamble.begin() + std::ptrdiff_t(from), at, buffers.plain.data());
    }
    if (WriteResult read = readAt(layout.input, buffers.plain.data() + at, length - at,
                                  from + at - SealedPreamble::kSize);
        !read) {
        return read;
    }
    const std::uint64_t firstChunk = unit * kUnitChunks;
    std::size_t sealedLength = 0;
    for (std::size_t i = 0; i * age::kChunkSize < length; ++i) {  // the plaintext is never empty: the preamble
        const std::size_t chunkLength = std::min(age::kChunkSize, length - i * age::kChunkSize);
        const std::uint64_t index = firstChunk + i;
        if (!layout.age.sealChunk(aead, index, index + 1 == layout.chunkCount, buffers.plain.data() + i * age::kChunkSize,
                                  chunkLength, buffers.sealed.data() + sealedLength)) {
            return {WriteError::CipherFailed, 0};
        }
        sealedLength += chunkLength + crypto::kAeadTagSize;
    }
    return writeAt(layout.output, buffers.sealed.data(), sealedLength,
                   layout.age.head().size() + firstChunk * age::kSealedChunkSize);
}

// The units of one batch, taken by both threads from one counter so that neither idles while work is
// left. The first failure is kept and ends the work.
class Batch {
public:
    Batch(const SealedLayout& layout, std::uint64_t firstUnit, std::uint64_t units)
        : layout_(layout), firstUnit_(firstUnit), units_(units) {}
    void run(UnitBuffers& buffers, crypto::ChaCha20Poly1305& aead) {
        for (std::uint64_t i; !failed_ && (i = next_.fetch_add(1)) < units_;) {
            WriteResult result = sealUnit(layout_, firstUnit_ + i, buffers, aead);
            if (!result) {
                std::lock_guard lock(mutex_);
                if (!failed_.exchange(true)) failure_ = result;
            }
        }
    }
    WriteResult result() const { return failed_ ? failure_ : WriteResult{}; }

private:
    const SealedLayout& layout_;
    const std::uint64_t firstUnit_, units_;
    std::atomic<std::uint64_t> next_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_;
    WriteResult failure_;
};

// A second thread that helps with each batch without ever holding the writer up: units it has not
// taken are done by the writer's own thread, which then waits only for a unit the helper is in the
// middle of. (A thread per batch would make the writer wait for it to be scheduled, which on a busy
// machine costs more than the work.)
class BatchHelper {
public:
    BatchHelper() : thread_([this] { serve(); }) {}
    ~BatchHelper() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void offer(Batch& batch) {
        {
            std::lock_guard lock(mutex_);
            offered_ = &batch;
        }
        wake_.notify_one();
    }
    // Once the writer's thread has run out of units: takes the offer back and waits until the helper
    // has finished the unit it took.
    void withdraw() {
        std::unique_lock lock(mutex_);
        offered_ = nullptr;
        idle_.wait(lock, [this] { return !busy_; });
    }

private:
    void serve() {
        UnitBuffers buffers;
        crypto::ChaCha20Poly1305 aead;
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || offered_ != nullptr; });
            if (stopping_) return;
            Batch* batch = std::exchange(offered_, nullptr);
            busy_ = true;
            lock.unlock();
            batch->run(buffers, aead);
            lock.lock();
            busy_ = false;
            idle_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    Batch* offered_ = nullptr;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last, so that it starts once everything above is in place
};

}  // namespace

WriteResult writeSealedBody(int input, int output, std::uint64_t sourceSize, const ContainerInfoRecord& record,
                            std::string_view passphrase, int workFactor, const WriteProgress& progress) {
    AgeFileWriter age;
    if (!age.begin(passphrase, workFactor)) return {WriteError::CipherFailed, 0};
    const std::string& head = age.head();
    if (WriteResult written = writeAt(output, reinterpret_cast<const std::uint8_t*>(head.data()), head.size(), 0);
        !written) {
        return written;
    }
    const SealedPreamble::Bytes preamble = SealedPreamble::toBytes(record);
    const std::uint64_t plaintextSize = SealedPreamble::kSize + sourceSize;
    const SealedLayout layout{age, preamble, input, output, plaintextSize, AgeFileWriter::chunkCount(plaintextSize)};
    const std::uint64_t unitCount = (layout.chunkCount + kUnitChunks - 1) / kUnitChunks;

    UnitBuffers buffers;
    crypto::ChaCha20Poly1305 aead;
    BatchHelper helper;
    for (std::uint64_t first = 0; first < unitCount; first += kBatchUnits) {
        Batch batch(layout, first, std::min<std::uint64_t>(kBatchUnits, unitCount - first));
        helper.offer(batch);
        batch.run(buffers, aead);
        helper.withdraw();
        if (WriteResult result = batch.result(); !result) return result;
        const std::uint64_t plaintextDone = std::min(plaintextSize, (first + kBatchUnits) * kUnitPlain);
        if (progress && !progress(plaintextDone - SealedPreamble::kSize)) return {WriteError::Cancelled, 0};
    }
    return {};
}

}  // namespace mirado
