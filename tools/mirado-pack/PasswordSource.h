#pragma once
#include <optional>
#include <string>

#include "CommandLine.h"
#include "container/ContainerKey.h"

namespace mirado::pack {

// The options through which a command takes its password.
inline const std::set<std::string> kPasswordOptions{"password", "password-file", "password-fd"};

// The password, from the first of: --password-file FILE, --password-fd N or --password P (at most one
// of them), $MIRADO_PASSWORD, standard input when it is not a terminal, a prompt on the terminal
// without echo. A file, descriptor or standard input gives its first line. Nothing, told on stderr,
// when none of them gives one.
std::optional<std::string> obtainPassword(const CommandLine& line);

// The key of the password obtained as above, after the password rule; a refusal is told on stderr.
std::optional<ContainerKey> obtainKey(const CommandLine& line);

}  // namespace mirado::pack
