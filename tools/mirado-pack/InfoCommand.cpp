
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "PasswordSource.h"
#include "Sha256.h"
#include "container/ContainerFormat.h"
#include "container/ContainerHeader.h"
#include "container/ContainerReader.h"
#include "container/Utf.h"

namespace mirado::pack {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: mirado-pack info CONTAINER [--password P] [--json] [--sha256]\n"
    "\n"
    "Opens CONTAINER (format 1 or 2) with the password and prints its format, header and info record.\n"
    "  --json    one JSON object instead of lines\n"
    "  --sha256  also the SHA-256 of the deciphered payload (compare with sha256sum of the original)\n";

struct Field {
    std::string name;
    std::string text;
    bool isNumber;
};

std::string jsonString(const std::string& text) {
    std::ostringstream out;
    out << '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (c < 0x20) {
            static const char* kHex = "0123456789abcdef";
            out << "\\u00" << kHex[c >> 4] << kHex[c & 15];
        } else {
            out << c;
        }
    }
    out << '"';
    return out.str();
}

// Reads the payload block by block through the reader, as the player's engine does.
std::optional<std::string> payloadSha256(const ContainerReader& reader, std::uint64_t payloadSize) {
    std::vector<std::uint8_t> block(1 << 20);
    Sha256 hash;
    for (std::uint64_t done = 0; done < payloadSize;) {
        const std::int64_t got = reader.readPayloadAt(done, block.data(), block.size());
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        hash.update(block.data(), std::size_t(got));
        done += std::uint64_t(got);
    }
    return hash.hexDigest();
}

std::string openFailureText(const ContainerReader& reader) {
    switch (reader.lastOpenFailure()) {
        case OpenFailure::WrongPassword:
            return reader.version() == ContainerVersion::Sealed ? "wrong password"
                                                                : "wrong password, or not a Mirado container";
        case OpenFailure::Damaged: return "damaged or modified container";
        case OpenFailure::Unsupported:
            return "not a Mirado container (an age file for other recipients, or a work factor above " +
                   std::to_string(kMaxWorkFactor) + ")";
        case OpenFailure::None:
        case OpenFailure::Unreadable: break;
    }
    return "cannot read the container";
}

}  // namespace

int runInfo(const std::vector<std::string>& words) {
    const auto line = CommandLine::parse(words, {"password"}, {"help", "json", "sha256"});
    if (line.has("help")) {
        std::cout << kUsage;
        return 0;
    }
    if (!line.error.empty() || line.positional.size() != 1) {
        complain(line.error.empty() ? "info needs one CONTAINER" : line.error);
        std::cerr << kUsage;
        return 2;
    }
    const fs::path path = line.positional[0];
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        complain("no such file: " + path.string());
        return 1;
    }
    const auto key = obtainKey(line.value("password"));
    if (!key) return 1;
    ContainerReader reader;
    reader.setKey(*key);
    if (!reader.open(path)) {
        complain(openFailureText(reader) + ": " + path.string());
        return 1;
    }
    const bool sealed = reader.version() == ContainerVersion::Sealed;
    const auto& record = reader.records().front();
    std::vector<Field> fields = {{"format", std::to_string(int(reader.version())), true}};
    // Only format 1 has a plain header.
    if (const auto header = sealed ? std::nullopt : ContainerHeader::read(path)) {
        fields.push_back({"formatTag", std::to_string(header->formatTag), true});
        fields.push_back({"watermarkMark", std::to_string(header->watermarkMark), true});
    }
    fields.insert(fields.end(), {
        {"payloadOffset", std::to_string(record.payloadOffset), true},
        {"payloadSize", std::to_string(record.payloadSize), true},
        {"sourceName", toUtf8(record.sourceName), false},
        {"watermarkText", toUtf8(record.watermarkText), false},
        {"watermarkPosition", std::to_string(record.watermarkPosition), true},
        {"watermarkColour", std::to_string(record.watermarkColour), true},
        {"watermarkFontSize", std::to_string(record.watermarkFontSize), true},
    });
    // A format 2 container that opened is whole: its last chunk proved the length.
    const std::uint64_t expectedSize = record.payloadOffset + record.payloadSize;
    const std::uint64_t actualSize = sealed ? expectedSize : fs::file_size(path, ec);
    const bool complete = actualSize >= expectedSize;
    bool damaged = false;
    if (line.has("sha256") && complete) {
        const auto hash = payloadSha256(reader, record.payloadSize);
        if (hash) fields.push_back({"sha256", *hash, false});
        damaged = !hash;
    }

    if (line.has("json")) {
        std::cout << "{";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            std::cout << (i ? ", " : "") << jsonString(fields[i].name) << ": "
                      << (fields[i].isNumber ? fields[i].text : jsonString(fields[i].text));
        }
        std::cout << "}\n";
    } else {
        for (const auto& field : fields) std::cout << field.name << ": " << field.text << "\n";
    }
    if (!complete) {
        complain("the payload is " + std::to_string(expectedSize - actualSize) + " bytes short: " + path.string());
        return 1;
    }
    if (damaged) {
        complain("a chunk of the payload fails its check (damaged or modified): " + path.string());
        return 1;
    }
    return 0;
}

}  // namespace mirado::pack
