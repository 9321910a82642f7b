#include "CommandLine.h"

#include <getopt.h>

namespace mirado::pack {

CommandLine CommandLine::parse(const std::vector<std::string>& words, const std::set<std::string>& valued,
                               const std::set<std::string>& flagNames) {
    // getopt_long wants a C argument vector with the program's name first; it permutes the copies only.
    std::vector<std::string> copies{"mirado-pack"};
    copies.insert(copies.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (auto& word : copies) argv.push_back(word.data());
    argv.push_back(nullptr);

    std::vector<std::string> names;
    std::vector<option> options;
    for (const auto& name : valued) names.push_back(name);
    for (const auto& name : flagNames) names.push_back(name);
    for (std::size_t i = 0; i < names.size(); ++i) {
        options.push_back({names[i].c_str(), valued.count(names[i]) ? required_argument : no_argument, nullptr,
                           int(256 + i)});
    }
    options.push_back({nullptr, 0, nullptr, 0});
    const bool shortHelp = flagNames.count("help") != 0;

    CommandLine line;
    // ':' first: a missing value is told apart from an unknown option; our own messages, not getopt's.
    const char* shortOptions = shortHelp ? ":h" : ":";
    opterr = 0;
    optind = 0;  // 0 makes GNU getopt start afresh, so each command parses its own words
    for (;;) {
        const int found = getopt_long(int(argv.size() - 1), argv.data(), shortOptions, options.data(), nullptr);
        if (found == -1) break;
        const std::string word = argv[std::size_t(optind - 1)] != nullptr ? argv[std::size_t(optind - 1)] : "";
        if (found == 'h') {
            line.flags.insert("help");
        } else if (found == ':') {
            const std::string name = optopt >= 256 ? names[std::size_t(optopt - 256)] : std::string(1, char(optopt));
            line.error = "--" + name + " needs a value";
            return line;
        } else if (found == '?') {
            line.error = "unknown option: " + word;
            return line;
        } else {
            const std::string& name = names[std::size_t(found - 256)];
            if (valued.count(name)) {
                line.values[name] = optarg;
            } else {
                line.flags.insert(name);
            }
        }
    }
    for (int i = optind; i < int(argv.size() - 1); ++i) line.positional.emplace_back(argv[std::size_t(i)]);
    return line;
}

std::optional<std::string> CommandLine::value(const std::string& name) const {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

}  // namespace mirado::pack
