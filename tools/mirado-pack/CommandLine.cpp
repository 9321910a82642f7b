#include "CommandLine.h"

namespace mirado::pack {

CommandLine CommandLine::parse(const std::vector<std::string>& words, const std::set<std::string>& valued,
                               const std::set<std::string>& flagNames) {
    CommandLine line;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word.rfind("--", 0) != 0) {
            line.positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2), inlineValue;
        const auto equals = name.find('=');
        const bool hasInlineValue = equals != std::string::npos;
        if (hasInlineValue) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        if (valued.count(name)) {
            if (hasInlineValue) {
                line.values[name] = inlineValue;
            } else if (i + 1 < words.size()) {
                line.values[name] = words[++i];
            } else {
                line.error = "--" + name + " needs a value";
                return line;
            }
        } else if (flagNames.count(name) && !hasInlineValue) {
            line.flags.insert(name);
        } else {
            line.error = "unknown option: " + word;
            return line;
        }
    }
    return line;
}

std::optional<std::string> CommandLine::value(const std::string& name) const {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

}  // namespace mirado::pack
