// The engine's decoding cost: a 30-second 1280x720 H.264 file with AAC sound decoded to the end as fast
// as the machine allows, as a plain file, from a container through the read hook, and from a container
// with a watermark, in alternating rounds. Real-time playback in a window is player_bench's.
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "bench/support/Measure.h"
#include "container/ContainerReader.h"
#include "container/ContainerWriter.h"
#include "engine/avplayer.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using namespace mirado::bench;

namespace {

// Plays to the end; false when playback did not get there.
bool playToEnd(avplayer& player, const std::function<int()>& open) {
    QElapsedTimer clock;
    clock.start();
    if (open() != 1 || player.play(0.0, 0) != 1) return false;
    while (player.play_status() != 3) {
        if (player.play_status() == -1 || clock.elapsed() > 600000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    player.close();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    mirado::testing::TempDir folder;
    const fs::path video = folder / "bench.mp4";
    if (!runShell("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=30 "
                  "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 -c:v libx264 -preset veryfast "
                  "-pix_fmt yuv420p -c:a aac -b:a 128k '" + video.string() + "'")) {
        std::fprintf(stderr, "ffmpeg could not make the test video\n");
        return 1;
    }
    mirado::ContainerKey key{};
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = std::uint8_t(i * 37 + 11);
    mirado::ContainerWriter writer;
    writer.configure(key, false, u"", 0, 0, 0);
    if (!writer.encipherFile(video, folder.path())) return 1;
    const fs::path container = folder / mirado::ContainerWriter::containerNameFor(video);
    mirado::ContainerReader reader;
    reader.setKey(key);
    if (!reader.open(container)) return 1;
    const mirado::ContainerInfoRecord& record = reader.records().front();

    avplayer player(avplayer::Pace::AsFastAsPossible);
    const auto openProtected = [&](const char16_t* text) {
        return [&, text] {
            return player.open(container.c_str(), 0, 2, 1, reader.stream(), record.payloadOffset, record.payloadSize,
                               &PayloadReadHook, &reader, key.data(), true, text, 3, 2, 1);
        };
    };
    Race race;
    race.add("plain file", {}, [&] {
        return playToEnd(player, [&] {
            return player.open(video.c_str(), 0, 2, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, false, nullptr, 0, 0, 0);
        });
    });
    race.add("container, read hook", {}, [&] { return playToEnd(player, openProtected(nullptr)); });
    race.add("container, watermark", {}, [&] { return playToEnd(player, openProtected(u"Mirado 水印")); });
    if (!race.run(3)) return 1;
    std::printf("30 s 1280x720 H.264 + AAC, %s bytes, decoded to the end without a window, best of 3 alternating\n",
                std::to_string(fs::file_size(video)).c_str());
    race.print();
    compare(race, "container, read hook", "plain file", 1.05);
    std::printf("  watermark / plain, CPU            ratio %6.3f   (the drawing filter; no goal)\n",
                race.best("container, watermark").cpu / race.best("plain file").cpu);

    return 0;
}
