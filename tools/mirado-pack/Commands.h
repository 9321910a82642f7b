#pragma once
#include <string>
#include <vector>

namespace mirado::pack {

// Each returns the process's exit code: 0 done, 1 the work failed, 2 the command line was wrong.
int runEncrypt(const std::vector<std::string>& words);
int runInfo(const std::vector<std::string>& words);

// One line on stderr, prefixed with the program's name.
void complain(const std::string& message);

}  // namespace mirado::pack
