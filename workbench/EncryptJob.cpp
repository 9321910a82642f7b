#include "EncryptJob.h"

#include "EncryptPlan.h"
#include "FolderMaker.h"
#include "MediaExtensions.h"
#include "MirroredTree.h"

namespace mirado {
namespace fs = std::filesystem;
namespace {

bool stopRequested(const EncryptProgress& progress) { return progress.stopRequested && progress.stopRequested(); }

void writePlan(const std::vector<PlannedFile>& plan, bool createFolders, const EncryptRequest& request,
               const EncryptProgress& progress, EncryptOutcome& outcome) {
    const int total = int(plan.size());
    const std::uint64_t jobBytes = totalSize(plan);
    std::uint64_t finishedBytes = 0;
    ContainerWriter writer;
    writer.setVersion(request.version, request.workFactor);
    FolderMaker folders(plan, createFolders);
    // A stopped job leaves no folder made for files it never reached.
    const auto stop = [&](int index) {
        folders.withdrawFrom(index);
        outcome.cancelled = true;
    };
    for (int index = 0; index < total; ++index) {
        if (stopRequested(progress)) return stop(index);
        const PlannedFile& file = plan[std::size_t(index)];
        if (progress.fileStarted) progress.fileStarted({index, total, file.source, file.size, jobBytes});
        folders.waitFor(index);
        // Afresh for every file: each container starts at key position 0 with its own watermark mark.
        const WatermarkSettings& mark = request.watermark;
        writer.configure(request.key, mark.enabled, mark.text, mark.position, mark.colour, mark.fontSize);
        writer.expectFollowers(std::size_t(total - index - 1));
        std::uint64_t fileBytes = 0;
        const WriteResult result = writer.encipherFileAs(
            file.source, file.folder, file.containerName, [&](std::uint64_t done) {
                fileBytes = done;
                if (progress.bytesDone) progress.bytesDone(finishedBytes + done);
                return !stopRequested(progress);
            });
        if (progress.fileFinished) progress.fileFinished({index, file.source, file.folder / file.containerName, result});
        if (result.error == WriteError::Cancelled) return stop(index + 1);
        if (result) {
            ++outcome.containersWritten;
            outcome.bytesDone += fileBytes;
        } else {
            outcome.failures.push_back({file.source, result});
        }
        finishedBytes += file.size;
        if (progress.bytesDone) progress.bytesDone(finishedBytes);
    }
}

}  // namespace

EncryptOutcome runEncryptJob(const EncryptRequest& request, FileTreeSearch& search, const EncryptProgress& progress) {
    EncryptOutcome outcome;
    std::error_code ec;
    const fs::file_status status = fs::status(request.source, ec);
    if (request.source.empty() || !fs::exists(status)) return outcome;

    if (!fs::is_directory(status)) {
        outcome.source = SourceKind::File;
        outcome.destinationRoot = request.destinationFolder;
        const auto plan = planSingleFile(request.source, request.destinationFolder);
        outcome.filesFound = int(plan.size());
        writePlan(plan, false, request, progress, outcome);
        return outcome;
    }

    outcome.source = SourceKind::Folder;
    outcome.destinationRoot = destinationRootFor(request.source, request.destinationFolder);
    fs::create_directory(outcome.destinationRoot, ec);  // it may be there from an earlier job
    // Folders below the root are made only inside a root that exists: a missing destination folder
    // is not conjured up on the way.
    const bool rootExists = fs::is_directory(outcome.destinationRoot, ec);

    // The whole walk ends before the first container is written, so the job never finds its own output.
    if (!search.Search({MediaExtensions.begin(), MediaExtensions.end()},
                       FileTreeSearch::SearchRecursive | FileTreeSearch::SearchFromRootPath, request.source)) {
        outcome.searchFailed = true;
        return outcome;
    }
    // Files in a folder that could not be read were never seen: the user must hear of them.
    for (const auto& folder : search.unreadable()) {
        outcome.failures.push_back({folder.path, {WriteError::FolderUnreadable, folder.systemError}});
    }
    const auto plan = planFolderJob(search.results(), outcome.destinationRoot);
    outcome.filesFound = int(plan.size());
    writePlan(plan, rootExists, request, progress, outcome);
    return outcome;
}

}  // namespace mirado
