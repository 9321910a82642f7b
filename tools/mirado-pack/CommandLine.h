#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace mirado::pack {

// Positional words and --options of one command, parsed with getopt_long: options may come before or
// after the positional words, "--" ends the options, "-h" is "--help". Options named in `valued` take
// a value ("--name value" or "--name=value"); a repeated option keeps its last value.
struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::string error;  // set when the words do not parse

    static CommandLine parse(const std::vector<std::string>& words, const std::set<std::string>& valued,
                             const std::set<std::string>& flagNames);
    bool has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::optional<std::string> value(const std::string& name) const;
};

}  // namespace mirado::pack
