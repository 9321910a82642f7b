// What a sealed (format 2) container costs next to the plain file it holds, in one run and in
// alternating rounds so that a busy neighbour on the machine favours neither:
//   1. decoding a 60 s 1280x720 H.264 clip as fast as the engine goes, plain file against sealed
//      container, the container's password already checked (goal: sealed / plain <= 1.05);
//   2. opening the sealed container with the right password, and with the right one as the sixth of
//      six remembered keys, as the player tries them; a compatible container beside it;
//   3. seek latency, plain against sealed, from a pause to the frame at 10 %, 20 %, ... 90 % (goal:
//      the medians within 10 ms).
// Wall seconds are printed with the process's CPU seconds beside them; a missed goal says so.
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "container/AdditiveKeyCipher.h"
#include "container/ContainerReader.h"
#include "container/ContainerWriter.h"
#include "engine/avplayer.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using mirado::AdditiveKeyCipher;
using mirado::ContainerKey;
using mirado::ContainerReader;
using mirado::ContainerVersion;

namespace {

constexpr int kRounds = 3;
constexpr char16_t kPassword[] = u"Bench2026";

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Wall and CPU seconds of one measured step.
struct Cost {
    double wall = 0, cpu = 0;
};

Cost measure(const std::function<bool()>& step, bool& ok) {
    QElapsedTimer clock;
    const double cpu = cpuSeconds();
    clock.start();
    ok = step() && ok;
    return {double(clock.nsecsElapsed()) / 1e9, cpuSeconds() - cpu};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void runEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QThread::usleep(200);
}

bool waitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) return false;
        runEvents();
    }
    return true;
}

std::int64_t readSealed(void* reader, std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) {
    return static_cast<const ContainerReader*>(reader)->readPayloadAt(position, buffer, length);
}

// One of the two files under test, opened in the engine as the player opens it. A sealed container's
// reader is opened once beforehand: the password's cost is measured on its own below.
struct Subject {
    const char* name;
    fs::path path;
    bool sealed;
    ContainerReader reader;

    bool prepare() {
        if (!sealed) return true;
        reader.setKey(AdditiveKeyCipher::keyFromPassword(kPassword));
        return reader.open(path);
    }
    int open(avplayer& player) {
        if (!sealed) {
            return player.open(path.c_str(), 0, 2, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, false, nullptr, 0, 0, 0);
        }
        return player.open(path.c_str(), 0, 2, &readSealed, &reader, reader.records().front().payloadSize, nullptr, 0,
                           0, 0);
    }
};

bool playToEnd(avplayer& player, Subject& subject) {
    if (subject.open(player) != 1 || player.play(0.0, 0) != 1) return false;
    const bool ended = waitFor([&] { return player.play_status() == 3 || player.play_status() < 0; }, 600000) &&
                       player.play_status() == 3;
    if (!ended) std::fprintf(stderr, "%s: playback ended with status %d\n", subject.name, player.play_status());
    player.close();
    return ended;
}

// Seconds from each seek to the paused frame at its target, over the fractions given.
std::vector<double> seekLatencies(avplayer& player, Subject& subject, const std::vector<double>& fractions, bool& ok) {
    std::vector<double> latencies;
    if (subject.open(player) != 1 || player.play(0.0, 0) != 1 ||
        !waitFor([&] { return player.play_status() == 1 && player.duration() > 0; }, 60000)) {
        std::fprintf(stderr, "%s: did not start playing (status %d)\n", subject.name, player.play_status());
        ok = false;
        return latencies;
    }
    player.pause();
    waitFor([&] { return player.play_status() == 2; }, 5000);
    const double duration = player.duration();
    for (const double fraction : fractions) {
        const double target = fraction * duration;
        QElapsedTimer clock;
        clock.start();
        player.seek_to(fraction);
        if (!waitFor([&] { return std::abs(player.curr_play_time() - target) < 0.05; }, 60000)) {
            std::fprintf(stderr, "%s: seek to %.0f %% stopped at %.3f s\n", subject.name, fraction * 100,
                         player.curr_play_time());
            ok = false;
        }
        latencies.push_back(double(clock.nsecsElapsed()) / 1e9);
    }
    player.close();
    return latencies;
}

void verdict(bool met, const char* goal) { std::printf("  %s: %s\n", goal, met ? "goal met" : "goal missed"); }

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
    const ContainerKey key = AdditiveKeyCipher::keyFromPassword(kPassword);
    mirado::ContainerWriter writer;
    writer.setVersion(ContainerVersion::Sealed);  // the default work factor, as the settings window writes
    writer.configure(key, false, u"", 0, 0, 0);
    if (!writer.encipherFile(video, folder.path())) return 1;
    const fs::path sealed = folder / mirado::ContainerWriter::containerNameFor(video);
    fs::create_directories(folder / "compatible");
    writer.setVersion(ContainerVersion::Compatible);
    writer.configure(key, false, u"", 0, 0, 0);
    if (!writer.encipherFile(video, folder / "compatible")) return 1;
    const fs::path compatible = folder / "compatible" / mirado::ContainerWriter::containerNameFor(video);
    std::printf("60 s 1280x720 H.264, %ju bytes; sealed container %ju bytes (work factor %d)\n",
                std::uintmax_t(fs::file_size(video)), std::uintmax_t(fs::file_size(sealed)),
                mirado::kDefaultWorkFactor);

    bool ok = true;
    avplayer player(avplayer::Pace::AsFastAsPossible);
    Subject plain{"plain", video, false, {}};
    Subject seal{"sealed", sealed, true, {}};
    if (!seal.prepare()) return 1;

    // 1. Decoding to the end.
    Cost bestPlain{1e9, 1e9}, bestSealed{1e9, 1e9};
    for (int round = 0; round < kRounds; ++round) {
        const Cost p = measure([&] { return playToEnd(player, plain); }, ok);
        const Cost s = measure([&] { return playToEnd(player, seal); }, ok);
        std::printf("  round %d: plain %.3f s wall (%.3f s CPU), sealed %.3f s wall (%.3f s CPU)\n", round + 1, p.wall,
                    p.cpu, s.wall, s.cpu);
        if (p.wall < bestPlain.wall) bestPlain = p;
        if (s.wall < bestSealed.wall) bestSealed = s;
    }
    const double decodeRatio = bestSealed.wall / bestPlain.wall;
    std::printf("decode to the end, best of %d: plain %.3f s (%.3f s CPU), sealed %.3f s (%.3f s CPU), sealed/plain "
                "%.3f wall, %.3f CPU\n",
                kRounds, bestPlain.wall, bestPlain.cpu, bestSealed.wall, bestSealed.cpu, decodeRatio,
                bestSealed.cpu / bestPlain.cpu);
    verdict(decodeRatio <= 1.05, "sealed/plain <= 1.05");

    // 2. Opening with the right password, alone and as the sixth remembered key (the player tries the
    // keys newest first, each a full open).
    std::vector<ContainerKey> remembered;
    for (int i = 1; i <= 5; ++i) {
        remembered.push_back(AdditiveKeyCipher::keyFromPassword(u"Other" + std::u16string(1, char16_t(u'0' + i)) + u"x9"));
    }
    remembered.push_back(key);
    const auto openWith = [](const fs::path& path, const std::vector<ContainerKey>& keys) {
        ContainerReader reader;
        for (const ContainerKey& candidate : keys) {
            reader.setKey(candidate);
            if (reader.open(path)) return true;
        }
        return false;
    };
    std::vector<double> sealedAlone, sealedSixth, compatibleAlone, compatibleSixth, sealedAloneCpu, sealedSixthCpu;
    for (int round = 0; round < 5; ++round) {
        const Cost a = measure([&] { return openWith(sealed, {key}); }, ok);
        const Cost b = measure([&] { return openWith(sealed, remembered); }, ok);
        const Cost c = measure([&] { return openWith(compatible, {key}); }, ok);
        const Cost d = measure([&] { return openWith(compatible, remembered); }, ok);
        sealedAlone.push_back(a.wall);
        sealedAloneCpu.push_back(a.cpu);
        sealedSixth.push_back(b.wall);
        sealedSixthCpu.push_back(b.cpu);
        compatibleAlone.push_back(c.wall);
        compatibleSixth.push_back(d.wall);
    }
    std::printf("open, median of 5: sealed with the right password %.1f ms (%.1f ms CPU), as the sixth remembered key "
                "%.1f ms (%.1f ms CPU); compatible %.3f ms and %.3f ms\n",
                median(sealedAlone) * 1e3, median(sealedAloneCpu) * 1e3, median(sealedSixth) * 1e3,
                median(sealedSixthCpu) * 1e3, median(compatibleAlone) * 1e3, median(compatibleSixth) * 1e3);

    // 3. Seek latency, the two files taking turns.
    const std::vector<double> fractions{0.5, 0.1, 0.9, 0.3, 0.7, 0.2, 0.8, 0.4, 0.6};
    std::vector<double> plainSeeks, sealedSeeks;
    // At the pace a person watches, so that the file is still playing when it is paused.
    avplayer watcher(avplayer::Pace::RealTime);
    for (int round = 0; round < kRounds; ++round) {
        for (const double s : seekLatencies(watcher, plain, fractions, ok)) plainSeeks.push_back(s);
        for (const double s : seekLatencies(watcher, seal, fractions, ok)) sealedSeeks.push_back(s);
    }
    const double plainSeek = median(plainSeeks), sealedSeek = median(sealedSeeks);
    std::printf("seek from a pause to the frame, median of %zu: plain %.1f ms, sealed %.1f ms, difference %.1f ms\n",
                plainSeeks.size(), plainSeek * 1e3, sealedSeek * 1e3, (sealedSeek - plainSeek) * 1e3);
    verdict(sealedSeek - plainSeek <= 0.010, "sealed seek within 10 ms of plain");

    if (!ok) {
        std::fprintf(stderr, "a step failed: playback did not reach its end or a target, or a container did not open\n");
        return 1;
    }
    return 0;
}
