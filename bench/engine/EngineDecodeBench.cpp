// Decodes a 60-second 1280x720 H.264 file as fast as the machine allows, once as a plain file and once
// from a container through the read hook, and prints how much the container costs.
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "container/ContainerReader.h"
#include "container/ContainerWriter.h"
#include "engine/avplayer.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 3;

// Seconds from open to the end, or a negative value when playback did not reach the end.
double playToEnd(avplayer& player, const std::function<int()>& open) {
    QElapsedTimer clock;
    clock.start();
    if (open() != 1 || player.play(0.0, 0) != 1) return -1;
    while (player.play_status() != 3) {
        if (player.play_status() == -1 || clock.elapsed() > 600000) return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    player.close();
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    mirado::testing::TempDir folder;
    const fs::path video = folder / "bench.mp4";
    const std::string make = "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi "
                             "-i testsrc2=size=1280x720:rate=25:duration=60 -c:v libx264 -preset veryfast "
                             "-pix_fmt yuv420p '" + video.string() + "'";
    if (std::system(make.c_str()) != 0) {
        std::fprintf(stderr, "ffmpeg could not make the test video\n");
        return 1;
    }
    mirado::ContainerKey key{};
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = std::uint8_t(i * 37 + 11);
    mirado::ContainerWriter writer;
    writer.configure(key, false, u"", 0, 0, 0);
    if (!writer.encipherFile(video, folder.path())) return 1;
    const fs::path container = folder / mirado::ContainerWriter::containerNameFor(video);

    avplayer player(avplayer::Pace::AsFastAsPossible);
    const auto openPlain = [&] {
        return player.open(video.c_str(), 0, 2, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, false, nullptr, 0, 0, 0);
    };
    double plain = 1e9, hooked = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        // Alternating the two keeps a busy neighbour on the machine from favouring one of them.
        const double p = playToEnd(player, openPlain);
        mirado::ContainerReader reader;
        reader.setKey(key);
        if (!reader.open(container)) return 1;
        const auto openProtected = [&] {
            const mirado::ContainerInfoRecord& record = reader.records().front();
            return player.open(container.c_str(), 0, 2, 1, reader.stream(), record.payloadOffset,
                               record.payloadSize, &PayloadReadHook, &reader, key.data(), true, nullptr, 0, 0, 0);
        };
        const double h = playToEnd(player, openProtected);
        if (p < 0 || h < 0) {
            std::fprintf(stderr, "playback did not reach the end\n");
            return 1;
        }
        std::printf("round %d: plain %.3f s, protected %.3f s\n", round + 1, p, h);
        plain = std::min(plain, p);
        hooked = std::min(hooked, h);
    }
    std::printf("60 s 1280x720 H.264, %s bytes: plain %.3f s, protected %.3f s, protected/plain %.3f (goal <= 1.05)\n",
                std::to_string(fs::file_size(video)).c_str(), plain, hooked, hooked / plain);
    return 0;
}
