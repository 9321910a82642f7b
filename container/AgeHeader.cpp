#include "AgeHeader.h"

#include "AgeFormat.h"
#include "Base64.h"

namespace mirado {
namespace {

constexpr std::string_view kStanzaStart = "-> ";
constexpr std::string_view kMacStart = "---";

// Takes the next line without its "\n"; nothing when no newline ends it.
std::optional<std::string_view> nextLine(std::string_view bytes, std::size_t& at) {
    const std::size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = bytes.substr(at, end - at);
    at = end + 1;
    return line;
}

// Arguments are non-empty runs of visible ASCII separated by single spaces.
std::optional<std::vector<std::string>> splitArguments(std::string_view text) {
    std::vector<std::string> arguments;
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = text.find(' ', start);
        const std::string_view word = text.substr(start, space == std::string_view::npos ? text.npos : space - start);
        if (word.empty()) return std::nullopt;
        for (char c : word) {
            if (c < 33 || c > 126) return std::nullopt;
        }
        arguments.emplace_back(word);
        if (space == std::string_view::npos) return arguments;
        start = space + 1;
    }
}

}  // namespace

std::optional<AgeHeader> AgeHeader::parse(std::string_view bytes) {
    std::size_t at = 0;
    const auto version = nextLine(bytes, at);
    if (!version || *version != age::kVersionLine) return std::nullopt;
    AgeHeader header;
    for (;;) {
        const std::size_t lineStart = at;
        const auto line = nextLine(bytes, at);
        if (!line) return std::nullopt;
        if (line->substr(0, kStanzaStart.size()) == kStanzaStart) {
            auto arguments = splitArguments(line->substr(kStanzaStart.size()));
            if (!arguments) return std::nullopt;
            // Full lines of 64 columns go on; the first shorter one (perhaps empty) ends the body.
            std::string text;
            for (;;) {
                const auto bodyLine = nextLine(bytes, at);
                if (!bodyLine || bodyLine->size() > age::kBodyColumns) return std::nullopt;
                text += *bodyLine;
                if (bodyLine->size() < age::kBodyColumns) break;
            }
            auto body = decodeCanonicalBase64(text);
            if (!body) return std::nullopt;
            header.stanzas.push_back({std::move(*arguments), std::move(*body)});
            continue;
        }
        if (line->substr(0, kMacStart.size()) != kMacStart || header.stanzas.empty()) return std::nullopt;
        const std::string_view rest = line->substr(kMacStart.size());
        if (rest.empty() || rest[0] != ' ') return std::nullopt;
        const auto mac = decodeCanonicalBase64(rest.substr(1));
        if (!mac || mac->size() != header.mac.size()) return std::nullopt;
        std::copy(mac->begin(), mac->end(), header.mac.begin());
        header.macInputLength = lineStart + kMacStart.size();
        header.length = at;
        return header;
    }
}

std::string AgeHeader::encodeUpToMac(const std::vector<AgeStanza>& stanzas) {
    std::string text(age::kVersionLine);
    text += '\n';
    for (const AgeStanza& stanza : stanzas) {
        text += kStanzaStart;
        for (std::size_t i = 0; i < stanza.arguments.size(); ++i) text += (i ? " " : "") + stanza.arguments[i];
        text += '\n';
        const std::string body = base64Unpadded(stanza.body.data(), stanza.body.size());
        // A body of a multiple of 64 columns still ends with a short (empty) line.
        for (std::size_t start = 0;; start += age::kBodyColumns) {
            text += body.substr(start, age::kBodyColumns);
            text += '\n';
            if (body.size() - start < age::kBodyColumns) break;
        }
    }
    text += kMacStart;
    return text;
}

}  // namespace mirado
