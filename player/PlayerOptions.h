#pragma once
// The player's command line, read before any window system is touched, so that --help and
// --version work without a display.
#include <string>
#include <vector>

namespace mirado {

struct PlayerOptions {
    bool exitNow = false;  // help, version or a usage error was printed: end with exitCode
    int exitCode = 0;
    std::vector<std::string> files;  // the words that are not options, in order
};

// GNU-style options through getopt_long: -h/--help and --version print to stdout; an unknown option
// prints to stderr and gives exit code 2; "--" ends the options.
PlayerOptions parsePlayerOptions(int argc, char** argv);

}  // namespace mirado
