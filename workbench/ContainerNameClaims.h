#pragma once
#include <filesystem>
#include <set>
#include <string>

#include "CaseFold.h"

namespace mirado {

// Keeps the containers of one job apart when sources share a base name (a.mp4 and a.avi in one folder).
// Names are compared ignoring case, so they stay apart on file systems that ignore case, too.
class ContainerNameClaims {
public:
    // The first of "a.pmpk", "a.avi.pmpk", "a.avi (2).pmpk", "a.avi (3).pmpk", ... that no earlier
    // claim in `folder` holds; it is held from now on. The same sources in the same order always
    // get the same names, so a rerun replaces the containers of the run before.
    std::string claim(const std::filesystem::path& source, const std::filesystem::path& folder);

private:
    struct IgnoringCase {
        bool operator()(const std::string& a, const std::string& b) const { return compareIgnoringCase(a, b) < 0; }
    };
    std::set<std::string, IgnoringCase> taken_;  // folder / name
};

}  // namespace mirado
