#pragma once
#include <string>
#include <vector>

#include "tests/support/RunProcess.h"

namespace mirado::testing {

// Runs the built mirado-pack with these words, and these variables added to the environment.
inline ProcessResult pack(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {}) {
    return runProcess(MIRADO_PACK_PATH, arguments, environment);
}

}  // namespace mirado::testing
