#include "ContainerNameClaims.h"

#include "container/ContainerFormat.h"
#include "container/ContainerWriter.h"

namespace mirado {

std::string ContainerNameClaims::claim(const std::filesystem::path& source, const std::filesystem::path& folder) {
    const std::string extension = "." + std::string(format::kExtension);
    const std::string fileName = source.filename().string();
    auto tryName = [&](const std::string& name) { return taken_.insert((folder / name).string()).second; };

    std::string name = ContainerWriter::containerNameFor(source);
    if (tryName(name)) return name;
    name = fileName + extension;
    if (tryName(name)) return name;
    for (int counter = 2;; ++counter) {
        name = fileName + " (" + std::to_string(counter) + ")" + extension;
        if (tryName(name)) return name;
    }
}

}  // namespace mirado
