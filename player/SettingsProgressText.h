#pragma once
#include <QString>

#include "SettingsJobRunner.h"

namespace mirado {

// One line under the settings page's progress bar: files and bytes done, then the file in progress
// (last, so a long name is what an ellipsis cuts).
QString progressTextFor(const JobProgress& progress, bool stopping);

// How far the job is, 0..1000: by bytes, or by files when the job's files are all empty.
int progressPermille(const JobProgress& progress);

// "0 B", "512 B", "1.5 KB", "12.3 MB", "2.00 GB".
QString byteCountText(std::uint64_t bytes);

}  // namespace mirado
