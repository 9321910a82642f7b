#pragma once
#include "EncryptOutcome.h"
#include "EncryptProgress.h"
#include "EncryptRequest.h"
#include "FileTreeSearch.h"

namespace mirado {

// Enciphers a single file into the destination folder, or every media file below a folder into a tree
// mirroring it under destination/<folder's base name>. Folders are created on the way; one file's
// failure does not stop the others. `search` walks a folder job's source and keeps its tree afterwards.
// Shows nothing: the outcome says what happened.
EncryptOutcome runEncryptJob(const EncryptRequest& request, FileTreeSearch& search,
                             const EncryptProgress& progress = {});

}  // namespace mirado
