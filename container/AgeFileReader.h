#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mirado {

// The outcome of opening an age v1 file, in the terms of the age test suite, plus the two cases where
// a file is well formed but not one this reader opens.
enum class AgeOutcome : std::uint8_t {
    Success,
    Unreadable,        // the system refused to read the file
    HeaderFailure,     // the header does not parse, or breaks a rule of the format
    WorkFactorRefused, // a well-formed scrypt stanza whose work factor is above kMaxWorkFactor
    NoPassphrase,      // no scrypt stanza: the file was made for other recipients
    NoMatch,           // the passphrase does not unwrap the file key
    HmacFailure,       // the file key is right but the header was changed
    PayloadFailure,    // the payload is cut, extended, or its last chunk fails authentication
};

using AgeFileKey = std::array<std::uint8_t, 16>;

// Reads an age v1 file whose one recipient is a passphrase (scrypt). Every 64 KiB chunk of the
// plaintext is authenticated and deciphered by itself, so any range is read without the bytes before it.
class AgeFileReader {
public:
    AgeFileReader() = default;
    AgeFileReader(const AgeFileReader&) = delete;
    AgeFileReader& operator=(const AgeFileReader&) = delete;
    ~AgeFileReader() = default;
};

}  // namespace mirado
