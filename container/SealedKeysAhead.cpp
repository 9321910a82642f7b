#include "SealedKeysAhead.h"

#include <algorithm>

#include "SecretMemory.h"

namespace mirado {

SealedKeysAhead::~SealedKeysAhead() { forget(); }

void SealedKeysAhead::keepUnderWay(std::string_view passphrase, int workFactor, std::size_t count) {
    if (!isFor(passphrase, workFactor)) forget();
    if (workFactor > kMaxWorkFactor) return;
    passphrase_.assign(passphrase);
    workFactor_ = workFactor;
    while (underWay_.size() < std::min(count, kMaxUnderWay)) {
        // Each thread has its own copy of the passphrase, wiped when it is done.
        underWay_.push_back(std::async(std::launch::async, [passphrase = passphrase_, workFactor]() mutable {
            auto age = std::make_unique<AgeFileWriter>();
            const bool wrapped = age->begin() && age->sealHead(passphrase, workFactor);
            wipe(passphrase.data(), passphrase.size());
            return wrapped ? std::move(age) : nullptr;
        }));
    }
}

std::unique_ptr<AgeFileWriter> SealedKeysAhead::take(std::string_view passphrase, int workFactor) {
    if (underWay_.empty()) return nullptr;
    if (!isFor(passphrase, workFactor)) {
        forget();
        return nullptr;
    }
    std::unique_ptr<AgeFileWriter> age = underWay_.front().get();
    underWay_.pop_front();
    return age;
}

bool SealedKeysAhead::isFor(std::string_view passphrase, int workFactor) const {
    return passphrase == passphrase_ && workFactor == workFactor_;
}

void SealedKeysAhead::forget() {
    for (auto& wrap : underWay_) wrap.wait();
    underWay_.clear();
    wipe(passphrase_.data(), passphrase_.size());
    passphrase_.clear();
}

}  // namespace mirado
