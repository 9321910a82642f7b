#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "container/SecretMemory.h"

namespace mirado::pack {

void complain(const std::string& message) { std::cerr << "mirado-pack: " << message << "\n"; }

}  // namespace mirado::pack

namespace {

constexpr const char* kUsage =
    "usage: mirado-pack COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  encrypt SOURCE DESTFOLDER   encipher a media file, or every one in a folder, into password-protected\n"
    "                              .pmpk containers\n"
    "  info CONTAINER              show what a container holds\n"
    "\n"
    "Run 'mirado-pack COMMAND --help' for a command's options, 'mirado-pack --version' for the version.\n";

}  // namespace

int main(int argc, char** argv) {
    // Passwords, keys and plain media pass through this process's memory: no core file may hold them.
    mirado::disableCoreDumps();
    // A file-size limit must fail the write (and remove the partial file), not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (words[0] == "--version") {
        std::cout << "mirado-pack " MIRADO_VERSION "\n";
        return 0;
    }
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (words[0] == "encrypt") return mirado::pack::runEncrypt(rest);
    if (words[0] == "info") return mirado::pack::runInfo(rest);
    mirado::pack::complain("unknown command: " + words[0]);
    std::cerr << kUsage;
    return 2;
}
