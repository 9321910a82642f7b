#include "SealedKeysAhead.h"

#include <algorithm>

#include "SecretMemory.h"

namespace mirado {

SealedKeysAhead::~SealedKeysAhead() { forget(); }

void SealedKeysAhead::keepUnderWay(std::string_view passphrase, int workFactor, std::size_t count) {
    if (!isFor(passphrase, workFactor)) {
        forget();
        passphrase_.assign(passphrase);
        workFactor_ = workFactor;
    }
    if (workFactor > kMaxWorkFactor) return;
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
    if (!isFor(passphrase, workFactor)) forget();
    std::unique_ptr<AgeFileWriter> age;
    if (!underWay_.empty()) {
        age = underWay_.front().get();
        underWay_.pop_front();
    }
    if (age) return age;
    age = std::make_unique<AgeFileWriter>();
    return age->begin() ? std::move(age) : nullptr;
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
