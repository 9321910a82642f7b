#pragma once
// The files a newcomer brings: a grey video (so a watermark's colour stands out) enciphered by the
// real mirado-pack, and a folder of media to encipher through the settings window.
#include <QString>
#include <filesystem>

#include "tests/support/TempDir.h"

namespace mirado::testing {

class JourneyMedia {
public:
    // Passwords and watermarks: the first container's watermark is red at the bottom right, the
    // settings window's is cyan at the top left, so each shows where it came from.
    static constexpr const char* kPackPassword = "Journey2026";
    static constexpr const char* kSettingsPassword = "Settings42";

    // Renders the clip and enciphers it with mirado-pack; false (with a note on stderr) on failure.
    bool make();

    // The container made by mirado-pack.
    QString packedVideo() const;
    // The folder to encipher: three media files in two levels and a text file that is not media.
    std::filesystem::path sourceFolder() const { return root_ / "trip"; }
    std::filesystem::path destination() const { return root_ / "protected"; }
    // Where the settings window's job puts the containers of the source folder's media files.
    std::filesystem::path enciphered(const std::string& relative) const {
        return destination() / "trip" / relative;
    }

private:
    TempDir root_;
};

}  // namespace mirado::testing
