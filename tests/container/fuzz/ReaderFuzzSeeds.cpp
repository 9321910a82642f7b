#include <filesystem>
#include <fstream>

#include "ReaderFuzzKey.h"
#include "container/ContainerWriter.h"

// Writes the reader fuzzer's seed corpus into the folder given: real containers made by the writer,
// small enough for the fuzzer's length limit.
int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 2) return 2;
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    const fs::path sources = folder / "sources";
    fs::create_directories(sources);
    struct Seed {
        const char* name;
        std::size_t size;
        const char16_t* watermark;
    };
    const Seed seeds[] = {{"empty.mp4", 0, u""}, {"clip.mp4", 3000, u""}, {"photo.JPEG", 1500, u"© Anna 2014"},
                          {"README", 40, u"😀 mark"}};
    mirado::ContainerWriter writer;
    for (const Seed& seed : seeds) {
        {
            std::ofstream out(sources / seed.name, std::ios::binary);
            for (std::size_t i = 0; i < seed.size; ++i) out.put(char(i * 7 + 3));
        }
        const std::u16string mark = seed.watermark;
        writer.configure(mirado::fuzz::kKey, !mark.empty(), mark, 3, 4, 2);
        if (!writer.encipherFile(sources / seed.name, folder)) return 1;
    }
    // A sealed container too, at a work factor the fuzzer can afford on every input.
    writer.setVersion(mirado::ContainerVersion::Sealed, 10);
    writer.configure(mirado::fuzz::kKey, true, u"sealed mark", 1, 2, 0);
    if (!writer.encipherFileAs(sources / "clip.mp4", folder, "sealed.pmpk")) return 1;
    fs::remove_all(sources);
    return 0;
}
