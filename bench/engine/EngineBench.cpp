// The engine's cost, measured in one run:
// - a 30-second 1280x720 H.264 file with AAC sound decoded to the end as fast as the machine allows,
//   as a plain file, from a container through the read hook, and from a container with a watermark;
// - the same file played in real time in a 1280x720 window, next to mpv showing it with the same
//   software OpenGL under the same X server: processor share and resident memory while playing.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "bench/support/Measure.h"
#include "container/ContainerReader.h"
#include "container/ContainerWriter.h"
#include "engine/avplayer.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace mirado::bench;

namespace {

constexpr double kWarmUpSeconds = 3;
constexpr double kSampleSeconds = 10;

void pump(double seconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.nsecsElapsed() < seconds * 1e9) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
}

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

// Processor seconds (user + system, every thread) and resident memory of a running process.
struct Sample {
    double cpu = 0;
    double residentMiB = 0;
};

Sample sampleProcess(pid_t pid) {
    Sample sample;
    std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) user = std::stoull(field);
        if (index == 15) {
            system = std::stoull(field);
            break;
        }
    }
    sample.cpu = double(user + system) / double(::sysconf(_SC_CLK_TCK));
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) sample.residentMiB = std::stod(line.substr(6)) / 1024;
    }
    return sample;
}

// Share of one core over the sampling window after the warm-up, and resident memory at its end.
struct PlaybackCost {
    double coreShare = 0;
    double residentMiB = 0;
};

PlaybackCost sampleWhilePlaying(pid_t pid, const std::function<void(double)>& wait) {
    wait(kWarmUpSeconds);
    const Sample before = sampleProcess(pid);
    QElapsedTimer clock;
    clock.start();
    wait(kSampleSeconds);
    const Sample after = sampleProcess(pid);
    return {(after.cpu - before.cpu) / (clock.nsecsElapsed() / 1e9), after.residentMiB};
}

bool ourPlayback(const fs::path& video, PlaybackCost& cost) {
    QWidget window;
    window.resize(1280, 720);
    window.show();
    avplayer player(avplayer::Pace::RealTime);
    if (player.subclasswindow(&window, 0) != 1) return false;
    if (player.open(video.c_str(), 0, 2, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, false, nullptr, 0, 0, 0) != 1 ||
        player.play(0.0, 0) != 1) {
        return false;
    }
    cost = sampleWhilePlaying(::getpid(), pump);
    const bool playing = player.play_status() == 1;
    player.close();
    return playing;
}

bool mpvPlayback(const fs::path& video, PlaybackCost& cost) {
    std::vector<std::string> words{"mpv", "--no-config", "--really-quiet", "--vo=gpu", "--gpu-sw",
                                   "--geometry=1280x720", video.string()};
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "mpv", nullptr, nullptr, argv.data(), environ) != 0) return false;
    cost = sampleWhilePlaying(child, [](double seconds) { ::usleep(useconds_t(seconds * 1e6)); });
    int status = 0;
    const bool running = ::waitpid(child, &status, WNOHANG) == 0;
    ::kill(child, SIGTERM);
    ::waitpid(child, &status, 0);
    return running;
}

void realTimePlayback(const fs::path& video) {
    if (QGuiApplication::platformName() != "xcb") {
        std::printf("real-time playback in a window: skipped, no X server (run under xvfb-run)\n");
        return;
    }
    if (!runProgram({"mpv", "--version"})) {
        std::printf("real-time playback in a window: skipped, mpv is not installed\n");
        return;
    }
    PlaybackCost ours{1e9, 0}, theirs{1e9, 0};
    for (int round = 0; round < 2; ++round) {
        PlaybackCost a, b;
        if (!ourPlayback(video, a) || !mpvPlayback(video, b)) {
            std::printf("real-time playback in a window: a player stopped before the end of the sample\n");
            return;
        }
        std::printf("  round %d: ours %.1f %% of a core, %.0f MiB; mpv %.1f %%, %.0f MiB\n", round + 1,
                    a.coreShare * 100, a.residentMiB, b.coreShare * 100, b.residentMiB);
        if (a.coreShare < ours.coreShare) ours = a;
        if (b.coreShare < theirs.coreShare) theirs = b;
    }
    std::printf("real-time playback, 1280x720 window, software OpenGL, %.0f s sampled after %.0f s, lowest of 2\n",
                kSampleSeconds, kWarmUpSeconds);
    std::printf("  avplayer in a QWidget              %5.1f %% of a core   resident %6.0f MiB\n", ours.coreShare * 100,
                ours.residentMiB);
    std::printf("  mpv --vo=gpu --gpu-sw              %5.1f %% of a core   resident %6.0f MiB\n", theirs.coreShare * 100,
                theirs.residentMiB);
    verdict("avplayer / mpv, CPU while playing", ours.coreShare / theirs.coreShare, 1.2);
    verdict("avplayer / mpv, resident memory", ours.residentMiB / theirs.residentMiB, 1.2);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
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

    realTimePlayback(video);
    return 0;
}
