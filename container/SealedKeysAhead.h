#pragma once
#include <cstddef>
#include <deque>
#include <future>
#include <memory>
#include <string>
#include <string_view>

#include "AgeFileWriter.h"

namespace mirado {

// Wraps fresh file keys for coming format 2 containers on threads of their own. scrypt costs every
// container a fixed fraction of a second of one core, which in a folder job of small files is nearly
// all the work: with two wraps always under way, both cores do it. Each prepared key is used for one
// container only.
class SealedKeysAhead {
public:
    // Wraps under way at most, one for each core; each takes 2^workFactor KiB while it runs.
    static constexpr std::size_t kMaxUnderWay = 2;
    static constexpr int kMaxWorkFactor = 17;

    SealedKeysAhead() = default;
    SealedKeysAhead(const SealedKeysAhead&) = delete;
    SealedKeysAhead& operator=(const SealedKeysAhead&) = delete;
    ~SealedKeysAhead();  // waits for the wraps under way; the passphrase is wiped

    // Starts wraps for this passphrase and work factor until `count` (at most kMaxUnderWay) are under
    // way; wraps for another passphrase or work factor are dropped first. None above kMaxWorkFactor.
    void keepUnderWay(std::string_view passphrase, int workFactor, std::size_t count);
    // The oldest wrap for this passphrase and work factor, waited for: a writer begun and with its head
    // sealed. When none is under way for them, or it failed, a writer only begun, whose head the caller
    // seals; null only when not even that could be made.
    std::unique_ptr<AgeFileWriter> take(std::string_view passphrase, int workFactor);

private:
    bool isFor(std::string_view passphrase, int workFactor) const;
    void forget();

    std::deque<std::future<std::unique_ptr<AgeFileWriter>>> underWay_;
    std::string passphrase_;
    int workFactor_ = 0;
};

}  // namespace mirado
