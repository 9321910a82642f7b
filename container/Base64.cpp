#include "Base64.h"

#include <openssl/evp.h>

namespace mirado {
namespace {

bool isBase64Character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

}  // namespace

std::string base64Unpadded(const std::uint8_t* data, std::size_t length) {
    std::string text(4 * ((length + 2) / 3) + 1, '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), data, int(length));
    text.resize(std::size_t(written));
    while (!text.empty() && text.back() == '=') text.pop_back();
    return text;
}

std::optional<std::vector<std::uint8_t>> decodeCanonicalBase64(std::string_view text) {
    if (text.size() % 4 == 1) return std::nullopt;
    for (char c : text) {
        if (!isBase64Character(c)) return std::nullopt;
    }
    std::string padded(text);
    const std::size_t padding = (4 - text.size() % 4) % 4;
    padded.append(padding, '=');
    std::vector<std::uint8_t> bytes(padded.size() / 4 * 3);
    const int decoded = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(padded.data()),
                                        int(padded.size()));
    if (decoded < 0) return std::nullopt;
    bytes.resize(text.size() * 3 / 4);  // without the bytes the padding stood for
    // Stray low bits in the last character decode to the same bytes as the canonical text.
    if (base64Unpadded(bytes.data(), bytes.size()) != text) return std::nullopt;
    return bytes;
}

}  // namespace mirado
