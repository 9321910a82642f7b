#include <algorithm>
#include <filesystem>
#include <iostream>

#include "CommandLine.h"
#include "Commands.h"
#include "JobCommand.h"
#include "PasswordSource.h"
#include "container/ContainerFormat.h"
#include "container/Utf.h"

namespace mirado::pack {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: mirado-pack encrypt [OPTIONS] SOURCE DESTFOLDER\n"
    "\n"
    "Enciphers SOURCE into DESTFOLDER/NAME.pmpk under a password of 6 to 16 letters and digits.\n"
    "A folder SOURCE has every video and picture below it enciphered into DESTFOLDER/FOLDERNAME/,\n"
    "mirroring its sub-folders; Ctrl-C stops it, keeping the containers already written.\n"
    "DESTFOLDER is created when it does not exist (its parent must).\n"
    "The password is asked on the terminal, or taken from $MIRADO_PASSWORD or standard input:\n"
    "  --password-file FILE  the first line of FILE\n"
    "  --password-fd N       the first line read from file descriptor N\n"
    "  --password P          visible to every user in ps: for throwaway passwords only\n"
    "  --format 1        the compatible format every player opens (default); it hides the media but\n"
    "                    does not withstand a determined attacker\n"
    "  --format 2        a standard age file: authenticated, and opened only with the password\n"
    "  --work-factor N   format 2's scrypt cost, 2^N, from 16 (the default) to 22; each step doubles\n"
    "                    the time to open a container and to try a password\n"
    "  --watermark TEXT  text the player draws over the picture (at most 50 characters, an emoji\n"
    "                    counting as two); control characters other than line breaks become spaces\n"
    "  --position N      0 top left, 1 top right, 2 bottom left, 3 bottom right (default 0)\n"
    "  --colour N        0 white, 1 red, 2 yellow, 3 green, 4 cyan (default 0)\n"
    "  --font-size N     0: 1/20, 1: 1/15, 2: 1/10 of the picture's height (default 0)\n"
    "  --quiet           no progress bar and no line per file\n";

constexpr std::size_t kWatermarkMaxCharacters = 50;

// "--format 1" or "--format 2", and a work factor only where it means something.
bool parseFormat(const CommandLine& line, ContainerVersion& version, int& workFactor) {
    const auto format = line.value("format").value_or("1");
    if (format != "1" && format != "2") {
        complain("--format must be 1 or 2");
        return false;
    }
    version = format == "1" ? ContainerVersion::Compatible : ContainerVersion::Sealed;
    const auto factor = line.value("work-factor");
    if (!factor) return true;
    if (version != ContainerVersion::Sealed) {
        complain("--work-factor applies to --format 2 only");
        return false;
    }
    const bool digits = !factor->empty() && factor->size() <= 2 &&
                        std::all_of(factor->begin(), factor->end(), [](char c) { return c >= '0' && c <= '9'; });
    workFactor = digits ? std::stoi(*factor) : -1;
    if (workFactor < kDefaultWorkFactor || workFactor > kMaxWorkFactor) {
        complain("--work-factor must be a number from " + std::to_string(kDefaultWorkFactor) + " to " +
                 std::to_string(kMaxWorkFactor));
        return false;
    }
    return true;
}

bool parseIndex(const CommandLine& line, const std::string& name, int highest, std::uint8_t& out) {
    const auto text = line.value(name);
    if (!text) return true;
    if (text->size() == 1 && (*text)[0] >= '0' && (*text)[0] <= char('0' + highest)) {
        out = std::uint8_t((*text)[0] - '0');
        return true;
    }
    complain("--" + name + " must be a number from 0 to " + std::to_string(highest));
    return false;
}

}  // namespace

int runEncrypt(const std::vector<std::string>& words) {
    std::set<std::string> valued{"watermark", "position", "colour", "font-size", "format", "work-factor"};
    valued.insert(kPasswordOptions.begin(), kPasswordOptions.end());
    const auto line = CommandLine::parse(words, valued, {"help", "quiet"});
    if (line.has("help")) {
        std::cout << kUsage;
        return 0;
    }
    if (!line.error.empty() || line.positional.size() != 2) {
        complain(line.error.empty() ? "encrypt needs SOURCE and DESTFOLDER" : line.error);
        std::cerr << kUsage;
        return 2;
    }
    const fs::path source = line.positional[0], destination = line.positional[1];
    std::uint8_t position = 0, colour = 0, fontSize = 0;
    if (!parseIndex(line, "position", 3, position) || !parseIndex(line, "colour", 4, colour) ||
        !parseIndex(line, "font-size", 2, fontSize)) {
        return 2;
    }
    ContainerVersion version = ContainerVersion::Compatible;
    int workFactor = kDefaultWorkFactor;
    if (!parseFormat(line, version, workFactor)) return 2;
    const std::u16string watermark = toUtf16(line.value("watermark").value_or(""));
    // Counted in UTF-16 units, as the settings window's edit and the container's record count them.
    if (watermark.size() > kWatermarkMaxCharacters) {
        complain("the watermark may have at most 50 characters (an emoji counts as two)");
        return 2;
    }
    std::error_code ec;
    if (!fs::exists(source, ec)) {
        complain("no such file or folder: " + source.string());
        return 1;
    }
    const fs::file_status kind = fs::status(source, ec);
    if (!fs::is_directory(kind) && !fs::is_regular_file(kind)) {
        complain("not a regular file or a folder: " + source.string());
        return 1;
    }
    // The user named the destination, so a missing one is made; only one level, so that a mistyped
    // path does not grow a tree. The job itself never creates its destination.
    const bool destinationMissing = !fs::exists(destination, ec);
    fs::path named = fs::absolute(destination, ec).lexically_normal();
    if (!named.has_filename()) named = named.parent_path();  // "protected/" names protected
    const fs::path parent = named.parent_path();
    if (destinationMissing ? !fs::is_directory(parent, ec) : !fs::is_directory(destination, ec)) {
        complain("the destination folder does not exist: " + destination.string());
        return 1;
    }
    const auto key = obtainKey(line);
    if (!key) return 1;
    if (destinationMissing && !fs::create_directory(destination, ec) && !fs::is_directory(destination)) {
        complain("cannot create the destination folder " + destination.string() + ": " + ec.message());
        return 1;
    }

    const EncryptRequest request{source, destination, *key, {!watermark.empty(), watermark, position, colour, fontSize},
                                 version, workFactor};
    return runEncryptJobCommand(request, line.has("quiet"));
}

}  // namespace mirado::pack
