#include "player/PlayerOptions.h"

#include <getopt.h>

#include <cstdio>

namespace mirado {
namespace {

constexpr const char* kHelp =
    "Usage: mirado-player [OPTION]... [FILE]...\n"
    "Play videos, pictures and password-protected .pmpk containers.\n"
    "\n"
    "The FILEs join the playlist. If Mirado already runs for this user, they go to its playlist\n"
    "instead and this start ends at once.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "  --             take every later word as a FILE, even one that begins with \"-\"\n";

enum { VersionOption = 1000 };

}  // namespace

PlayerOptions parsePlayerOptions(int argc, char** argv) {
    static const option longOptions[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, VersionOption},
        {nullptr, 0, nullptr, 0},
    };
    PlayerOptions options;
    optind = 0;  // a fresh scan, also when called again
    for (int option; (option = getopt_long(argc, argv, "h", longOptions, nullptr)) != -1;) {
        switch (option) {
            case 'h':
                std::fputs(kHelp, stdout);
                options.exitNow = true;
                return options;
            case VersionOption:
                std::printf("mirado-player %s\n", MIRADO_VERSION);
                options.exitNow = true;
                return options;
            default:  // getopt_long has already named the bad option on stderr
                std::fputs("Try 'mirado-player --help' for more information.\n", stderr);
                options.exitNow = true;
                options.exitCode = 2;
                return options;
        }
    }
    options.files.assign(argv + optind, argv + argc);
    return options;
}

}  // namespace mirado
