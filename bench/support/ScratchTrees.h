#pragma once
#include <cstddef>
#include <filesystem>

namespace mirado::bench {

// One file of `bytes` (a multiple of 1 MiB), written a block at a time.
void writeBigFile(const std::filesystem::path& path, std::size_t bytes);

// `files` files of `bytes` each, named clipN.mp4, spread over 10 folders (the folder job's big case).
void buildClipTree(const std::filesystem::path& root, int files, std::size_t bytes);

// `folders` folders (groups of 40: one top folder and 39 below it) holding ten files of `bytes` each;
// one in ten is a video (N.mp4), the rest are not media (.txt, .srt, .doc, ...).
void buildSmallFileTree(const std::filesystem::path& root, int folders, std::size_t bytes);

}  // namespace mirado::bench
