// mirado-pack as a user runs it, next to the tools a user would compare it with, measured in one run in
// alternating rounds: one cached 1 GiB file (cp, cat), a folder of 200 files of 5 MiB (cp -r), 20,000
// small files of which 2,000 are videos (find | tar copying the videos), info --sha256 (sha256sum), and a
// format 2 folder job of small videos next to the same videos packed one at a time.
// Usage: pack_bench [FOLDER] (about 3.3 GB of scratch files go there and are removed at the end).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/support/Measure.h"
#include "bench/support/ScratchTrees.h"

namespace {

namespace fs = std::filesystem;
using namespace mirado::bench;

const std::string kPack = MIRADO_PACK_PATH;

void singleFile(const fs::path& scratch) {
    const fs::path source = scratch / "big.mkv", out = scratch / "out", copy = scratch / "copy.mkv";
    writeBigFile(source, 1u << 30);
    runProgram({"cat", source.string()});  // into the page cache
    const auto fresh = [&] {
        fs::remove(copy);
        emptyFolder(out);
    };
    Race race;
    race.add("mirado-pack encrypt --quiet", fresh,
             [&] { return runProgram({kPack, "encrypt", source.string(), out.string(), "--quiet"}); });
    race.add("cp", fresh, [&] { return runProgram({"cp", source.string(), copy.string()}); });
    race.add("cat SRC > DST", fresh, [&] { return runProgram({"cat", source.string()}, "/dev/null", copy.string()); });
    if (!race.run(5)) return;
    std::printf("one cached 1 GiB file into a fresh file, best of 5 alternating runs\n");
    race.print(double(fs::file_size(source)) / 1e6);
    compare(race, "mirado-pack encrypt --quiet", "cp", 1.2);
    compare(race, "mirado-pack encrypt --quiet", "cat SRC > DST", 1.1);

    // The container stays for the hash comparison; the hash is of the deciphered payload.
    runProgram({kPack, "encrypt", source.string(), out.string(), "--quiet"});
    const std::string container = (out / "big.pmpk").string();
    Race hash;
    hash.add("mirado-pack info --sha256", {}, [&] { return runProgram({kPack, "info", container, "--sha256"}); });
    hash.add("sha256sum", {}, [&] { return runProgram({"sha256sum", source.string()}); });
    if (!hash.run(5)) return;
    std::printf("SHA-256 of 1 GiB, cached, best of 5 alternating runs\n");
    hash.print(double(fs::file_size(source)) / 1e6);
    compare(hash, "mirado-pack info --sha256", "sha256sum", 1.1);
    fs::remove_all(out);
    fs::remove(source);
}

void bigFilesFolder(const fs::path& scratch) {
    const fs::path tree = scratch / "clips", out = scratch / "out", copy = scratch / "copy";
    buildClipTree(tree, 200, 5u << 20);
    runProgram({"tar", "-cf", "/dev/null", "-C", tree.string(), "."});  // into the page cache
    Race race;
    race.add("mirado-pack encrypt FOLDER --quiet", [&] { emptyFolder(out); },
             [&] { return runProgram({kPack, "encrypt", tree.string(), out.string(), "--quiet"}); });
    race.add("cp -r", [&] { emptyFolder(copy); },
             [&] { return runProgram({"cp", "-r", tree.string(), (copy / "clips").string()}); });
    if (!race.run(5)) return;
    std::printf("folder of 200 files of 5 MiB in 10 folders, best of 5 alternating runs\n");
    race.print(200 * 5 * 1.048576);
    compare(race, "mirado-pack encrypt FOLDER --quiet", "cp -r", 1.2);
    fs::remove_all(tree);
    fs::remove_all(out);
    fs::remove_all(copy);
}

// Per video, at two sizes, so the cost of a job is seen to grow with the number of files and no faster.
void smallFilesFolder(const fs::path& scratch, int folders) {
    const fs::path lane = scratch / ("small" + std::to_string(folders)), tree = lane / "tree";
    buildSmallFileTree(tree, folders, 1024);
    runProgram({"tar", "-cf", "/dev/null", "-C", tree.string(), "."});
    std::string out, copy;
    Race race;
    race.add("mirado-pack encrypt FOLDER --quiet", [&] { out = freshFolder(lane / "out"); },
             [&] { return runProgram({kPack, "encrypt", tree.string(), out, "--quiet"}); });
    race.add("find | tar (the videos)", [&] { copy = freshFolder(lane / "copy"); }, [&] {
        return runShell("cd '" + tree.string() + "' && find . -type f -iname '*.mp4' -print0 | "
                        "tar --null -cf - -T - | tar -xf - -C '" + copy + "'");
    });
    if (!race.run(5)) return;
    std::printf("%d files of 1 KiB in %d folders, %d of them videos, best of 5 alternating runs\n", folders * 10,
                folders, folders);
    race.print();
    std::printf("  mirado-pack per video              %6.1f us wall, %6.1f us CPU\n",
                race.best("mirado-pack encrypt FOLDER --quiet").wall / folders * 1e6,
                race.best("mirado-pack encrypt FOLDER --quiet").cpu / folders * 1e6);
    compare(race, "mirado-pack encrypt FOLDER --quiet", "find | tar (the videos)", 1.2);
}

// In format 2 every container costs one scrypt, by design; a folder job wraps the keys of coming
// containers on both cores, where packing the files one by one wraps one key at a time.
void sealedSmallFiles(const fs::path& scratch) {
    constexpr int kVideos = 20;
    const fs::path lane = scratch / "sealed", tree = lane / "tree";
    buildSmallFileTree(tree, kVideos, 1024);
    std::string out;
    const auto fresh = [&] { out = freshFolder(lane / "out"); };
    Race race;
    race.add("mirado-pack encrypt FOLDER --format 2", fresh,
             [&] { return runProgram({kPack, "encrypt", tree.string(), out, "--format", "2", "--quiet"}); });
    race.add("one video at a time", fresh, [&] {
        return runShell("find '" + tree.string() + "' -iname '*.mp4' -exec '" + kPack + "' encrypt {} '" + out +
                        "' --format 2 --quiet \\;");
    });
    if (!race.run(3)) return;
    std::printf("%d videos of 1 KiB in format 2, best of 3 alternating runs\n", kVideos);
    race.print();
    std::printf("  folder job per container           %6.1f ms wall\n",
                race.best("mirado-pack encrypt FOLDER --format 2").wall / kVideos * 1e3);
    // Both cores wrapping keys halve the time at best.
    verdict("folder job / one at a time, wall", race.best("mirado-pack encrypt FOLDER --format 2").wall /
                                                    race.best("one video at a time").wall, 0.6);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path scratch = scratchFolder(argc, argv, "mirado-pack-bench");
    fs::create_directories(scratch);
    ::setenv("MIRADO_PASSWORD", "bench123", 1);
    std::printf("shared machine: figures are the lowest of alternating runs; CPU = user + system seconds\n");
    // The lanes that make thousands of files run first and leave them until the end (see freshFolder).
    smallFilesFolder(scratch, 200);
    smallFilesFolder(scratch, 2000);
    sealedSmallFiles(scratch);
    singleFile(scratch);
    bigFilesFolder(scratch);
    fs::remove_all(scratch);
    return 0;
}
