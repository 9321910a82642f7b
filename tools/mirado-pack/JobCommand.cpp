#include "JobCommand.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <optional>

#include "Commands.h"
#include "ProgressBar.h"
#include "StopSignal.h"
#include "workbench/EncryptJob.h"

namespace mirado::pack {
namespace {

namespace fs = std::filesystem;

std::string countLine(const EncryptOutcome& outcome) {
    const int count = outcome.containersWritten;
    return std::to_string(count) + (count == 1 ? " container" : " containers") + " written to " +
           outcome.destinationRoot.string();
}

// Off a terminal: what became of each file of a folder, as it happens.
void printFileLine(const FileFinish& file) {
    if (file.result.error == WriteError::Cancelled) return;
    if (file.result) {
        std::cout << file.source.string() << " -> " << file.container.string() << std::endl;
    } else {
        std::cout << file.source.string() << ": failed: " << file.result.describe() << std::endl;
    }
}

}  // namespace

int runEncryptJobCommand(const EncryptRequest& request, bool quiet) {
    std::error_code ec;
    const bool folder = fs::is_directory(request.source, ec);
    std::optional<ProgressBar> bar;
    if (!quiet && ::isatty(STDERR_FILENO)) bar.emplace(stderr, terminalColumns(STDERR_FILENO));

    EncryptProgress progress;
    progress.stopRequested = [] { return StopSignal::requested(); };
    if (bar) {
        progress.fileStarted = [&](const FileStart& file) { bar->fileStarted(file); };
        progress.bytesDone = [&](std::uint64_t done) { bar->bytesDone(done); };
        progress.fileFinished = [&](const FileFinish& file) {
            if (file.result.error != WriteError::Cancelled) bar->fileFinished();
        };
    } else if (!quiet && folder) {
        progress.fileFinished = printFileLine;
    }

    StopSignal stop;
    FileTreeSearch search;
    const EncryptOutcome outcome = runEncryptJob(request, search, progress);
    if (bar) bar->finish();

    if (outcome.source == SourceKind::Missing) {
        complain("no such file or folder: " + request.source.string());
        return 1;
    }
    if (outcome.searchFailed) {
        complain("cannot search " + request.source.string() + ": out of memory");
        return 1;
    }
    for (const FileFailure& failure : outcome.failures) {
        complain(failure.source.string() + ": " + failure.result.describe());
    }
    if (outcome.cancelled) {
        complain("stopped; " + countLine(outcome));
        stop.endByTheSignal();
    }
    if (outcome.source == SourceKind::File) {
        if (outcome.containersWritten == 1) {
            std::cout << (request.destinationFolder / ContainerWriter::containerNameFor(request.source)).string()
                      << "\n";
        }
        return outcome.failures.empty() ? 0 : 1;
    }
    std::cout << countLine(outcome) << "\n";
    if (outcome.failures.empty()) return 0;
    const auto folders = std::count_if(outcome.failures.begin(), outcome.failures.end(), [](const FileFailure& failure) {
        return failure.result.error == WriteError::FolderUnreadable;
    });
    const std::size_t files = outcome.failures.size() - std::size_t(folders);
    std::string summary;
    if (files > 0) summary = std::to_string(files) + " of " + std::to_string(outcome.filesFound) + " files failed";
    if (folders > 0) {
        summary += (summary.empty() ? "" : "; ") + std::to_string(folders) +
                   (folders == 1 ? " folder" : " folders") + " could not be read";
    }
    complain(summary);
    return 1;
}

}  // namespace mirado::pack
