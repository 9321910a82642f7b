#include "Sha256.h"

#include <openssl/evp.h>

namespace mirado::pack {

Sha256::Sha256() : context_(EVP_MD_CTX_new()) {
    if (context_ != nullptr) EVP_DigestInit_ex(context_, EVP_sha256(), nullptr);
}

Sha256::~Sha256() { EVP_MD_CTX_free(context_); }

void Sha256::update(const std::uint8_t* data, std::size_t length) {
    if (context_ != nullptr) EVP_DigestUpdate(context_, data, length);
}

std::string Sha256::hexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    // An empty answer rather than a wrong one when libcrypto failed (no memory).
    if (context_ == nullptr || EVP_DigestFinal_ex(context_, digest, &length) != 1) return {};
    static const char* kHex = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex.push_back(kHex[digest[i] >> 4]);
        hex.push_back(kHex[digest[i] & 15]);
    }
    return hex;
}

}  // namespace mirado::pack
