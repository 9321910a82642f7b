#include "ScratchTrees.h"

#include <fstream>
#include <string>
#include <vector>

namespace mirado::bench {
namespace fs = std::filesystem;

namespace {

std::vector<char> someBytes(std::size_t bytes) {
    std::vector<char> data(bytes);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = char(i * 7 + i / 4096);
    return data;
}

void writeFile(const fs::path& path, const std::vector<char>& data) {
    std::ofstream(path, std::ios::binary).write(data.data(), std::streamsize(data.size()));
}

}  // namespace

void writeBigFile(const fs::path& path, std::size_t bytes) {
    const auto block = someBytes(1u << 20);
    std::ofstream file(path, std::ios::binary);
    for (std::size_t done = 0; done < bytes; done += block.size()) file.write(block.data(), std::streamsize(block.size()));
}

void buildClipTree(const fs::path& root, int files, std::size_t bytes) {
    const auto data = someBytes(bytes);
    for (int file = 0; file < files; ++file) {
        const fs::path folder = root / ("part" + std::to_string(file % 10));
        fs::create_directories(folder);
        writeFile(folder / ("clip" + std::to_string(file) + ".mp4"), data);
    }
}

void buildSmallFileTree(const fs::path& root, int folders, std::size_t bytes) {
    const char* others[] = {"b.txt", "c.srt", "d.doc", "e.nfo", "f.log", "g.ini", "h.sub", "i.xml", "j"};
    const auto data = someBytes(bytes);
    for (int index = 0; index < folders; ++index) {
        fs::path folder = root / ("top" + std::to_string(index / 40));
        if (index % 40 > 0) folder /= "sub" + std::to_string(index % 40);
        fs::create_directories(folder);
        writeFile(folder / (std::to_string(index) + ".mp4"), data);
        for (const char* name : others) writeFile(folder / name, data);
    }
}

}  // namespace mirado::bench
