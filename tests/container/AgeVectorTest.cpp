// Runs the community age test vectors (cctv-age) against the age reader: every vector with a
// passphrase recipient through the passphrase, and every vector about the header's syntax, its MAC or
// the STREAM payload through the file key the vector gives.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "container/AgeFileReader.h"
#include "container/AgeFormat.h"
#include "tests/support/TempDir.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;

struct Vector {
    std::string name;
    std::multimap<std::string, std::string> fields;
    std::vector<std::uint8_t> file;

    std::string field(const std::string& key) const {
        const auto found = fields.find(key);
        return found == fields.end() ? std::string() : found->second;
    }
};

std::vector<std::uint8_t> inflate(const std::vector<std::uint8_t>& compressed) {
    std::vector<std::uint8_t> out;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return out;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = uInt(compressed.size());
    std::vector<std::uint8_t> block(1 << 20);
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = block.data();
        stream.avail_out = uInt(block.size());
        status = ::inflate(&stream, Z_NO_FLUSH);
        out.insert(out.end(), block.data(), block.data() + (block.size() - stream.avail_out));
    }
    inflateEnd(&stream);
    return out;
}

// The ASCII armor of the one armored passphrase vector: base64 lines between the two marker lines.
std::vector<std::uint8_t> dearmor(const std::vector<std::uint8_t>& armored) {
    std::string text(armored.begin(), armored.end()), joined;
    const std::string begin = "-----BEGIN AGE ENCRYPTED FILE-----\n", end = "-----END AGE ENCRYPTED FILE-----";
    const std::size_t from = text.find(begin) + begin.size(), to = text.find(end);
    for (char c : text.substr(from, to - from)) {
        if (c != '\n') joined.push_back(c);
    }
    std::vector<std::uint8_t> bytes(joined.size() / 4 * 3);
    const int decoded = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(joined.data()),
                                        int(joined.size()));
    bytes.resize(std::size_t(decoded) - std::size_t(std::count(joined.end() - 2, joined.end(), '=')));
    return bytes;
}

Vector readVector(const fs::path& path) {
    const auto bytes = testing::readFile(path);
    Vector vector{path.filename().string(), {}, {}};
    std::size_t at = 0;
    for (;;) {
        const auto end = std::find(bytes.begin() + std::ptrdiff_t(at), bytes.end(), '\n') - bytes.begin();
        const std::string line(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + end);
        at = std::size_t(end) + 1;
        if (line.empty()) break;
        const auto colon = line.find(": ");
        vector.fields.emplace(line.substr(0, colon), line.substr(colon + 2));
    }
    vector.file.assign(bytes.begin() + std::ptrdiff_t(at), bytes.end());
    if (vector.field("compressed") == "zlib") vector.file = inflate(vector.file);
    return vector;
}

std::string sha256Hex(const std::vector<std::uint8_t>& bytes) {
    unsigned char digest[32];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
    static const char* kHex = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < length; ++i) {
        hex.push_back(kHex[digest[i] >> 4]);
        hex.push_back(kHex[digest[i] & 15]);
    }
    return hex;
}

std::string outcomeName(AgeOutcome outcome) {
    switch (outcome) {
        case AgeOutcome::Success: return "success";
        case AgeOutcome::HeaderFailure:
        case AgeOutcome::WorkFactorRefused: return "header failure";
        case AgeOutcome::NoPassphrase:
        case AgeOutcome::NoMatch: return "no match";
        case AgeOutcome::HmacFailure: return "HMAC failure";
        case AgeOutcome::PayloadFailure: return "payload failure";
        case AgeOutcome::Unreadable: return "unreadable";
    }
    return "?";
}

AgeFileKey fileKeyOf(const Vector& vector) {
    const std::string hex = vector.field("file key");
    AgeFileKey key{};
    for (std::size_t i = 0; i < key.size() && 2 * i + 1 < hex.size(); ++i) {
        key[i] = std::uint8_t(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    }
    return key;
}

// Whether the vector's outcome depends only on what this reader implements. Vectors about X25519 and
// hybrid recipients, or about the armor itself, test what Mirado's containers never use.
enum class Route { Passphrase, FileKey, NotApplicable };
Route routeOf(const Vector& vector) {
    const bool armored = vector.field("armored") == "yes";
    if (vector.fields.count("passphrase")) return armored && vector.name != "armor_scrypt" ? Route::NotApplicable : Route::Passphrase;
    if (armored) return Route::NotApplicable;
    for (const char* prefix : {"stream_", "stanza_", "hmac_", "header_", "version_", "empty"}) {
        if (vector.name.rfind(prefix, 0) == 0) return Route::FileKey;
    }
    return Route::NotApplicable;
}

// What an application reading from the start would get: chunk after chunk until the end or a failure.
std::vector<std::uint8_t> releasedPlaintext(const AgeFileReader& reader, bool& endedCleanly) {
    std::vector<std::uint8_t> plaintext, block(age::kChunkSize);
    for (;;) {
        const std::int64_t got = reader.readAt(plaintext.size(), block.data(), block.size());
        endedCleanly = got == 0;
        if (got <= 0) return plaintext;
        plaintext.insert(plaintext.end(), block.begin(), block.begin() + got);
    }
}

TEST(AgeVectors, EveryApplicableVectorGivesItsExpectedOutcome) {
    const fs::path folder = MIRADO_AGE_VECTORS;
    if (!fs::is_directory(folder)) GTEST_SKIP() << "the age test vectors are not installed (npm or node missing)";
    testing::TempDir scratch;
    int checked = 0, passphraseVectors = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string()[0] == '.') continue;
        const Vector vector = readVector(entry.path());
        const Route route = routeOf(vector);
        if (route == Route::NotApplicable) continue;
        SCOPED_TRACE(vector.name + ": " + vector.field("comment"));
        testing::writeFile(scratch / "file.age", vector.field("armored") == "yes" ? dearmor(vector.file) : vector.file);
        const int fd = ::open((scratch / "file.age").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        AgeFileReader reader;
        AgeOutcome outcome = AgeOutcome::NoMatch;
        if (route == Route::FileKey) {
            outcome = reader.openWithFileKey(fd, fileKeyOf(vector));
        } else {
            ++passphraseVectors;
            // Each passphrase the vector names is tried in turn, as a user would.
            const auto [first, last] = vector.fields.equal_range("passphrase");
            for (auto it = first; it != last && outcome == AgeOutcome::NoMatch; ++it) outcome = reader.open(fd, it->second);
        }
        // Opening checks the header and the file's end; a chunk in between fails when it is read.
        std::vector<std::uint8_t> plaintext;
        if (outcome == AgeOutcome::Success || outcome == AgeOutcome::PayloadFailure) {
            bool endedCleanly = false;
            plaintext = releasedPlaintext(reader, endedCleanly);
            if (!endedCleanly) outcome = AgeOutcome::PayloadFailure;
        }
        const std::string expected = vector.field("expect");
        EXPECT_EQ(outcomeName(outcome), expected);
        if (expected == "success" || expected == "payload failure") {
            EXPECT_EQ(sha256Hex(plaintext), vector.field("payload")) << plaintext.size() << " bytes released";
        }
        ::close(fd);
        ++checked;
    }
    // Every applicable vector of version 0.2.0 of the package, so that none is silently passed over.
    EXPECT_EQ(passphraseVectors, 26);
    EXPECT_EQ(checked, 79);
    std::printf("%d vectors checked, %d through a passphrase\n", checked, passphraseVectors);
}

}  // namespace
}  // namespace mirado
