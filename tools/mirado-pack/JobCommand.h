#pragma once
#include "workbench/EncryptRequest.h"

namespace mirado::pack {

// Runs an encryption job for the command line and returns the exit code: 0 when every file was
// written, 1 when any failed. Shows a progress bar when stderr is a terminal, one line per file of a
// folder otherwise, neither when quiet. Ctrl-C stops the job and then ends the process by the signal.
int runEncryptJobCommand(const EncryptRequest& request, bool quiet);

}  // namespace mirado::pack
