#include "SealedBodyWriter.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "AgeFileWriter.h"
#include "FileIo.h"
#include "SealedPreamble.h"

namespace mirado {
namespace {

constexpr std::size_t kBatchChunks = ContainerWriter::kChunkSize / age::kChunkSize;
constexpr std::size_t kPlainBatch = kBatchChunks * age::kChunkSize;
constexpr std::size_t kSealedBatch = kBatchChunks * age::kSealedChunkSize;

// Up to 64 consecutive chunks of the plaintext, and where they go once sealed. Only the file's last
// chunk is short, so the sealed chunks lie back to back.
struct Batch {
    std::uint8_t* plain = nullptr;
    std::uint8_t* sealed = nullptr;
    std::uint64_t firstChunk = 0;
    std::size_t chunks = 0;
    std::size_t plainBytes = 0;
    std::uint64_t sourceEnd = 0;  // source bytes up to the end of this batch
    std::size_t sealedBytes() const { return plainBytes + chunks * crypto::kAeadTagSize; }
};

// Both threads take the chunks of one batch from a shared counter, so neither idles while work is left.
class BatchSealer {
public:
    BatchSealer(const AgeFileWriter& age, std::uint64_t lastChunk, const Batch& batch)
        : age_(age), lastChunk_(lastChunk), batch_(batch) {}
    void run(crypto::ChaCha20Poly1305& aead) {
        for (std::size_t i; (i = next_.fetch_add(1)) < batch_.chunks;) {
            const std::size_t length = std::min(age::kChunkSize, batch_.plainBytes - i * age::kChunkSize);
            const std::uint64_t index = batch_.firstChunk + i;
            if (!age_.sealChunk(aead, index, index == lastChunk_, batch_.plain + i * age::kChunkSize, length,
                                batch_.sealed + i * age::kSealedChunkSize)) {
                failed_ = true;
            }
        }
    }
    bool failed() const { return failed_; }

private:
    const AgeFileWriter& age_;
    const std::uint64_t lastChunk_;
    const Batch& batch_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> failed_{false};
};

// A second thread that helps seal each batch without ever holding the writer up: a batch it has not
// begun is sealed by the writer's own thread, which then waits only for a chunk the helper is in the
// middle of. (A thread per batch would make the writer wait for it to be scheduled, which on a busy
// machine costs more than the sealing.)
class SealHelper {
public:
    SealHelper() : thread_([this] { serve(); }) {}
    ~SealHelper() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void offer(BatchSealer& sealer) {
        {
            std::lock_guard lock(mutex_);
            offered_ = &sealer;
        }
        wake_.notify_one();
    }
    // Once the writer's thread has taken the last chunk itself: takes the offer back and waits until
    // the helper has finished the chunks it took.
    void withdraw() {
        std::unique_lock lock(mutex_);
        offered_ = nullptr;
        idle_.wait(lock, [this] { return !busy_; });
    }

private:
    void serve() {
        crypto::ChaCha20Poly1305 aead;
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || offered_ != nullptr; });
            if (stopping_) return;
            BatchSealer* sealer = std::exchange(offered_, nullptr);
            busy_ = true;
            lock.unlock();
            sealer->run(aead);
            lock.lock();
            busy_ = false;
            idle_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    BatchSealer* offered_ = nullptr;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last, so that it starts once everything above is in place
};

WriteResult readExactly(int fd, std::uint8_t* out, std::size_t length) {
    while (length > 0) {
        const ssize_t got = readSome(fd, out, length);
        if (got < 0) return {WriteError::ReadFailed, errno};
        if (got == 0) return {WriteError::ReadFailed, 0};  // the source shrank
        out += got;
        length -= std::size_t(got);
    }
    return {};
}

}  // namespace

WriteResult writeSealedBody(int input, int output, std::uint64_t sourceSize, const ContainerInfoRecord& record,
                            std::string_view passphrase, int workFactor, std::vector<std::uint8_t>& scratch,
                            const WriteProgress& progress) {
    AgeFileWriter age;
    if (!age.begin(passphrase, workFactor)) return {WriteError::CipherFailed, 0};
    const std::string& head = age.head();
    if (!writeAll(output, reinterpret_cast<const std::uint8_t*>(head.data()), head.size())) {
        return {WriteError::WriteFailed, errno};
    }

    const SealedPreamble::Bytes preamble = SealedPreamble::toBytes(record);
    const std::uint64_t plaintextSize = SealedPreamble::kSize + sourceSize;
    const std::uint64_t chunkCount = AgeFileWriter::chunkCount(plaintextSize);
    const std::uint64_t batchCount = (chunkCount + kBatchChunks - 1) / kBatchChunks;
    if (scratch.size() < 2 * (kPlainBatch + kSealedBatch)) scratch.resize(2 * (kPlainBatch + kSealedBatch));
    Batch slots[2];
    for (int i = 0; i < 2; ++i) {
        slots[i].plain = scratch.data() + std::size_t(i) * (kPlainBatch + kSealedBatch);
        slots[i].sealed = slots[i].plain + kPlainBatch;
    }
    // The preamble, then the source as it comes: batches are filled in order.
    const auto fill = [&](Batch& batch, std::uint64_t index) -> WriteResult {
        const std::uint64_t from = index * kPlainBatch;
        batch.firstChunk = index * kBatchChunks;
        batch.chunks = std::size_t(std::min<std::uint64_t>(kBatchChunks, chunkCount - batch.firstChunk));
        batch.plainBytes = std::size_t(std::min<std::uint64_t>(kPlainBatch, plaintextSize - from));
        std::size_t at = 0;
        if (from < SealedPreamble::kSize) {
            at = std::min(batch.plainBytes, std::size_t(SealedPreamble::kSize - from));
            std::copy_n(preamble.begin() + std::ptrdiff_t(from), at, batch.plain);
        }
        batch.sourceEnd = from + batch.plainBytes - SealedPreamble::kSize;
        return readExactly(input, batch.plain + at, batch.plainBytes - at);
    };
    const auto write = [&](const Batch& batch) -> WriteResult {
        if (!writeAll(output, batch.sealed, batch.sealedBytes())) return {WriteError::WriteFailed, errno};
        return {};
    };

    if (WriteResult first = fill(slots[0], 0); !first) return first;
    crypto::ChaCha20Poly1305 aead;
    SealHelper helper;
    for (std::uint64_t index = 0; index < batchCount; ++index) {
        const Batch& current = slots[index % 2];
        Batch& other = slots[(index + 1) % 2];  // the batch before, then the one after
        const std::uint64_t previousEnd = other.sourceEnd;
        BatchSealer sealer(age, chunkCount - 1, current);
        helper.offer(sealer);
        // Meanwhile this thread writes the batch before and reads the one after, then seals too.
        WriteResult io;
        if (index > 0) io = write(other);
        if (io && index + 1 < batchCount) io = fill(other, index + 1);
        sealer.run(aead);
        helper.withdraw();
        if (!io) return io;
        if (sealer.failed()) return {WriteError::CipherFailed, 0};
        if (index > 0 && progress && !progress(previousEnd)) return {WriteError::Cancelled, 0};
    }
    const Batch& last = slots[(batchCount - 1) % 2];
    if (WriteResult written = write(last); !written) return written;
    if (progress && !progress(last.sourceEnd)) return {WriteError::Cancelled, 0};
    return {};
}

}  // namespace mirado
