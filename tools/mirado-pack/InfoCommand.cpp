
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
    "usage: mirado-pack info [OPTIONS] CONTAINER\n"
    "\n"
    "Opens CONTAINER (format 1 or 2) with the password and prints its format, the plain header of a\n"
    "format 1 container and the info record. The password is taken\n"
    "as by encrypt: the terminal, $MIRADO_PASSWORD, standard input, --password-file FILE,\n"
    "--password-fd N, or --password P (visible in ps: throwaway passwords only).\n"
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

// A name may hold escape sequences that would rewrite the terminal: control characters (C0, DEL and
// the C1 range, which some terminals obey too) are shown as \xNN or \u00NN, and a backslash doubled.
std::string escapedForTerminal(const std::string& text) {
    static const char* kHex = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F) {
            out += std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += std::string("\\u00") + kHex[next >> 4] + kHex[next & 15];
            ++i;
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out.push_back(char(c));
        }
    }
    return out;
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
    const auto line = CommandLine::parse(words, kPasswordOptions, {"help", "json", "sha256"});
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
    const auto key = obtainKey(line);
    if (!key) return 1;
    ContainerReader reader;
    reader.setKey(*key);
    if (!reader.open(path)) {
        complain(openFailureText(reader) + ": " + path.string());
        return 1;
    }
    const bool sealed = reader.version() == ContainerVersion::Sealed;
    const auto& record = reader.records().front();
    // Every writer puts the payload right after the record; the player would seek to whatever a
    // forged record says. (A format 2 reader has checked its own offset already.)
    if (!sealed && record.payloadOffset != std::uint64_t(format::kPayloadOffset)) {
        complain("the record puts the payload at offset " + std::to_string(record.payloadOffset) + ", not " +
                 std::to_string(format::kPayloadOffset) + ": not a container Mirado writes: " + path.string());
        return 1;
    }
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
    // Compared without adding, so a payloadSize near 2^64 cannot wrap into "complete". A format 2
    // container that opened is whole: its last chunk proved the length.
    const std::uint64_t actualSize = sealed ? 0 : fs::file_size(path, ec);
    const std::uint64_t present = actualSize > record.payloadOffset ? actualSize - record.payloadOffset : 0;
    const bool complete = sealed || (!ec && present >= record.payloadSize);
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
        for (const auto& field : fields) std::cout << field.name << ": " << escapedForTerminal(field.text) << "\n";
    }
    if (!complete) {
        complain("the payload is " + std::to_string(record.payloadSize - present) + " bytes short: " + path.string());
        return 1;
    }
    if (damaged) {
        complain("a chunk of the payload fails its check (damaged or modified): " + path.string());
        return 1;
    }
    return 0;
}

}  // namespace mirado::pack
