#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Without libFuzzer (gcc), the fuzz target still runs over every file of the folders given,
// whole and cut at every few bytes, so the sanitizer build checks the same inputs.
int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            for (std::size_t size = bytes.size(); size > 0; size = size > 16 ? size - size / 16 : size - 1) {
                LLVMFuzzerTestOneInput(bytes.data(), size);
                ++inputs;
            }
        }
    }
    std::printf("%d inputs\n", inputs);
    return inputs > 0 ? 0 : 1;
}
