#pragma once
#include <optional>
#include <string>

namespace mirado::pack {

// The password from --password, else $MIRADO_PASSWORD, else asked on the terminal without echo.
// Nothing when none of them can give one.
std::optional<std::string> obtainPassword(const std::optional<std::string>& fromOption);

}  // namespace mirado::pack

#include "container/ContainerKey.h"

namespace mirado::pack {

// The key of a password obtained as above, after the password rule; a refusal is told on stderr.
std::optional<ContainerKey> obtainKey(const std::optional<std::string>& fromOption);

}  // namespace mirado::pack
