#include "JourneyMedia.h"

#include <QColor>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tests/support/RunProcess.h"

namespace mirado::testing {
namespace fs = std::filesystem;

namespace {

// Twenty seconds: long enough to go to full screen and back while it plays, even in a sanitizer build.
bool renderGreyClip(const fs::path& out) {
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i color=c=gray:size=320x240:rate=25:duration=20 "
        "-f lavfi -i sine=frequency=330:duration=20 -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p "
        "-c:a aac -shortest '" + out.string() + "'";
    return std::system(command.c_str()) == 0 && fs::exists(out);
}

}  // namespace

bool JourneyMedia::make() {
    const fs::path clip = root_ / "grey.mp4";
    if (!renderGreyClip(clip)) {
        std::fprintf(stderr, "ffmpeg could not render %s\n", clip.c_str());
        return false;
    }
    const ProcessResult packed =
        runProcess(MIRADO_PACK_EXE, {"encrypt", clip.string(), root_.path().string(), "--password", kPackPassword,
                                     "--watermark", "E2E 水印", "--position", "3", "--colour", "1",
                                     "--font-size", "2", "--quiet"});
    if (packed.exitCode != 0) {
        std::fprintf(stderr, "mirado-pack failed (%d): %s%s\n", packed.exitCode, packed.out.c_str(),
                     packed.err.c_str());
        return false;
    }

    std::error_code ec;
    const bool folders = fs::create_directories(sourceFolder() / "evening", ec) && fs::create_directories(destination(), ec);
    const bool copies = folders && fs::copy_file(clip, sourceFolder() / "dawn.mp4", ec) &&
                        fs::copy_file(clip, sourceFolder() / "evening" / "harbour.mp4", ec);
    QImage photo(200, 150, QImage::Format_RGB32);
    photo.fill(QColor(90, 140, 200));
    const bool picture = photo.save(QString::fromStdString((sourceFolder() / "evening" / "boats.png").string()), "PNG");
    std::ofstream(sourceFolder() / "notes.txt") << "not a media file\n";
    if (!copies || !picture) std::fprintf(stderr, "could not lay out the folder to encipher\n");
    return copies && picture;
}

QString JourneyMedia::packedVideo() const {
    return QString::fromStdString((root_ / "grey.pmpk").string());
}

}  // namespace mirado::testing
