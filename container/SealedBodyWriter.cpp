#include "SealedBodyWriter.h"

#include <algorithm>
#include <thread>

#include "AgeFileWriter.h"
#include "ParallelFileWork.h"
#include "ProgressMarks.h"
#include "SealedPreamble.h"

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
    std::uint64_t plaintextSize;
    std::uint64_t chunkCount;
};

// Fills `out` with `length` bytes of plaintext from `offset`: the preamble, then the source.
WriteResult readPlaintext(const SealedLayout& layout, std::uint64_t offset, std::uint8_t* out, std::size_t length) {
    std::size_t fromPreamble = 0;
    if (offset < SealedPreamble::kSize) {
        fromPreamble = std::min(length, std::size_t(SealedPreamble::kSize - offset));
        std::copy_n(layout.preamble.begin() + std::ptrdiff_t(offset), fromPreamble, out);
    }
    return readFileAt(layout.input, out + fromPreamble, length - fromPreamble,
                      offset + fromPreamble - SealedPreamble::kSize);
}

// Reads and seals one unit into `made`, each chunk in place under its own counter: the chunks lie in
// the buffer one after the other, as they lie in the file.
WriteResult sealUnit(const SealedLayout& layout, std::uint64_t unit, FileUnit& made, crypto::ChaCha20Poly1305& aead) {
    const std::uint64_t from = unit * kUnitPlain;
    const std::size_t length = std::size_t(std::min<std::uint64_t>(kUnitPlain, layout.plaintextSize - from));
    const std::uint64_t firstChunk = unit * kUnitChunks;
    if (made.buffer.empty()) made.buffer.resize(kUnitChunks * age::kSealedChunkSize);
    std::size_t sealedLength = 0;
    for (std::size_t i = 0; i * age::kChunkSize < length; ++i) {  // the plaintext is never empty: the preamble
        const std::size_t chunkLength = std::min(age::kChunkSize, length - i * age::kChunkSize);
        const std::uint64_t index = firstChunk + i;
        std::uint8_t* chunk = made.buffer.data() + sealedLength;
        if (WriteResult read = readPlaintext(layout, from + i * age::kChunkSize, chunk, chunkLength); !read) {
            return read;
        }
        if (!layout.age.sealChunk(aead, index, index + 1 == layout.chunkCount, chunk, chunkLength, chunk)) {
            return {WriteError::CipherFailed, 0};
        }
        sealedLength += chunkLength + crypto::kAeadTagSize;
    }
    made.at = layout.bodyStart + unit * kUnitChunks * age::kSealedChunkSize;
    made.length = sealedLength;
    made.sourceBytes = length;
    return {};
}

}  // namespace

WriteResult writeSealedBody(int input, int output, std::uint64_t sourceSize, const ContainerInfoRecord& record,
                            AgeFileWriter& age, std::string_view passphrase, int workFactor,
                            const WriteProgress& progress) {
    const SealedPreamble::Bytes preamble = SealedPreamble::toBytes(record);
    const std::uint64_t plaintextSize = SealedPreamble::kSize + sourceSize;
    const SealedLayout layout{age, AgeFileWriter::headSize(workFactor), preamble, input, plaintextSize,
                              AgeFileWriter::chunkCount(plaintextSize)};
    const std::uint64_t unitCount = (layout.chunkCount + kUnitChunks - 1) / kUnitChunks;

    ParallelFileWork work(output, unitCount);
    const auto sealWith = [&layout](crypto::ChaCha20Poly1305& aead) {
        return [&layout, &aead](std::uint64_t unit, FileUnit& made) { return sealUnit(layout, unit, made, aead); };
    };
    // The chunks need only the file key, not the password's: the helper seals while this thread runs
    // scrypt, which takes a good part of a second on purpose, and writes the head.
    std::thread helper([&] {
        FileUnits made;
        crypto::ChaCha20Poly1305 aead;
        work.run(made, sealWith(aead), [] { return WriteResult{}; });
    });
    if (age.head().empty() && !age.sealHead(passphrase, workFactor)) {
        work.fail({WriteError::CipherFailed, 0});
    } else if (WriteResult written = writeFileAt(output, reinterpret_cast<const std::uint8_t*>(age.head().data()),
                                                 age.head().size(), 0);
               !written) {
        work.fail(written);
    }
    // Told at every step of sealed plaintext and at the end, so a step seen late is still told.
    ProgressMarks marks(plaintextSize, kProgressStep);
    const auto tell = [&] {
        return work.tellProgress(marks, [&](std::uint64_t mark) {
            return !progress || progress(mark - std::min<std::uint64_t>(mark, SealedPreamble::kSize));
        });
    };
    FileUnits made;
    crypto::ChaCha20Poly1305 aead;
    work.run(made, sealWith(aead), tell);
    helper.join();
    // The helper may have sealed the last unit after this thread's last look.
    if (WriteResult result = work.result(); !result) return result;
    return tell();
}

}  // namespace mirado
