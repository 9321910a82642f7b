#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct evp_md_ctx_st;

namespace mirado::pack {

// Streaming SHA-256 (libcrypto's), so a payload of any size is hashed in constant memory.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    void update(const std::uint8_t* data, std::size_t length);
    std::string hexDigest();  // lower-case; ends the hash

private:
    evp_md_ctx_st* context_;
};

}  // namespace mirado::pack
