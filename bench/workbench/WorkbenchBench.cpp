// FileTreeSearch's walk of 20,000 files in 2,000 folders next to find over the same tree, and the folder
// job (in this process, without mirado-pack's start) over 200 files of 5 MiB next to cp -r, measured in
// one run in alternating rounds. Usage: workbench_bench [FOLDER] (about 1.1 GB of scratch files).
#include <cstdio>
#include <filesystem>

#include "bench/support/Measure.h"
#include "bench/support/ScratchTrees.h"
#include "workbench/EncryptJob.h"
#include "workbench/MediaExtensions.h"

namespace {

namespace fs = std::filesystem;
using namespace mirado::bench;

void walk(const fs::path& scratch, mirado::FileTreeSearch& search) {
    const fs::path tree = scratch / "walk";
    buildSmallFileTree(tree, 2000, 0);
    std::size_t found = 0;
    Race race;
    race.add("FileTreeSearch::Search", {}, [&] {
        const bool ran = search.Search({mirado::MediaExtensions.begin(), mirado::MediaExtensions.end()},
                                       mirado::FileTreeSearch::SearchRecursive |
                                           mirado::FileTreeSearch::SearchFromRootPath,
                                       tree);
        found = search.results().size();
        return ran;
    });
    race.add("find -type f", {}, [&] { return runProgram({"find", tree.string(), "-type", "f"}); });
    if (!race.run(7)) return;
    std::printf("walk of 20,000 files in 2,000 folders (%zu videos found), best of 7 alternating runs\n", found);
    race.print();
    compare(race, "FileTreeSearch::Search", "find -type f", 1.5);
    fs::remove_all(tree);
}

void folderJob(const fs::path& scratch, mirado::FileTreeSearch& search) {
    const fs::path tree = scratch / "clips", out = scratch / "out", copy = scratch / "copy";
    buildClipTree(tree, 200, 5u << 20);
    runProgram({"tar", "-cf", "/dev/null", "-C", tree.string(), "."});  // into the page cache
    mirado::EncryptRequest request;
    request.source = tree;
    request.destinationFolder = out;
    request.key = mirado::AdditiveKeyCipher::keyFromPassword(u"bench123");
    int written = 0;
    Race race;
    race.add("runEncryptJob", [&] { emptyFolder(out); }, [&] {
        written = mirado::runEncryptJob(request, search).containersWritten;
        return written == 200;
    });
    race.add("cp -r", [&] { emptyFolder(copy); }, [&] { return runProgram({"cp", "-r", tree.string(), (copy / "clips").string()}); });
    if (!race.run(5)) return;
    std::printf("folder job, 200 files of 5 MiB (%d written), best of 5 alternating runs\n", written);
    race.print(200 * 5 * 1.048576);
    compare(race, "runEncryptJob", "cp -r", 1.2);
    fs::remove_all(tree);
    fs::remove_all(out);
    fs::remove_all(copy);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path scratch = scratchFolder(argc, argv, "mirado-workbench-bench");
    fs::create_directories(scratch);
    mirado::FileTreeSearch search;
    // The job first: removing the walk's 22,000 files would slow down the making of files for a
    // minute afterwards (see freshFolder).
    folderJob(scratch, search);
    walk(scratch, search);
    fs::remove_all(scratch);
    return 0;
}
