// Playing a 1280x720 H.264 + AAC file in real time, as a person watches, in the player's window and then in
// full screen: the player, a bare window holding only the engine's video widget, and mpv with the same
// software OpenGL at the same size, each in a fresh process under the same X server, in alternating
// rounds. Prints each one's share of a core after a warm-up and its resident memory. Sound goes to ALSA's
// null device for all of them.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "container/ContainerReader.h"  // PlayVideo's default reader argument needs the whole type
#include "bench/support/Measure.h"
#include "engine/avplayer.h"
#include "player/CMainFrame.h"
#include "surface/CVideoRealWnd.h"
#include "tests/support/TempDir.h"
#include "ui/CPaintManagerUI.h"
#include "ui/WindowApi.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace mirado::bench;

namespace {

constexpr double kWarmUpSeconds = 4;
constexpr double kSampleSeconds = 10;

// The player as its entry starts it, playing `file` once its window is up, in full screen if asked;
// prints the video surface's size, which the other two are given.
int playInPlayer(const QString& file, bool fullScreen) {
    std::setlocale(LC_NUMERIC, "C");
    CPaintManagerUI::SetInstance(qApp);
    CMainFrame frame;
    g_pMainFrame = &frame;
    if (frame.Create(nullptr, u"MiradoVideo_WNDNAME", WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                     WS_EX_STATICEDGE | WS_EX_APPWINDOW, 0) == nullptr) {
        return 1;
    }
    frame.addPaths({file});
    frame.CenterWindow();
    frame.ShowWindow(true, true);
    QTimer::singleShot(500, [&] {
        frame.PlayVideo(file);
        if (fullScreen) frame.videoSurface()->toggleFullScreen();
    });
    QTimer::singleShot(1500, [&] {
        const QSize size = frame.videoSurface()->GetHWND()->size();
        std::printf("%d %d\n", size.width(), size.height());
        std::fflush(stdout);
    });
    return CPaintManagerUI::MessageLoop();
}

int playInBareWindow(int width, int height, const char* file) {
    std::setlocale(LC_NUMERIC, "C");
    QWidget window;
    window.resize(width, height);
    window.show();
    avplayer player(avplayer::Pace::RealTime);
    if (player.subclasswindow(&window, 0) != 1) return 1;
    if (player.open(file, 0, 2, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, false, nullptr, 0, 0, 0) != 1 ||
        player.play(0.0, 0) != 1) {
        return 1;
    }
    return QApplication::exec();
}

// Processor seconds (user + system, every thread) and resident memory of a running process.
struct Sample {
    double cpu = 0;
    double residentMiB = 0;
};

Sample sampleProcess(pid_t pid) {
    Sample sample;
    std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::vector<std::string> values{"pid", "comm"};
    for (std::string field; values.size() < 15 && fields >> field;) values.push_back(field);
    if (values.size() == 15) {
        sample.cpu = double(std::stoull(values[13]) + std::stoull(values[14])) / double(::sysconf(_SC_CLK_TCK));
    }
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) sample.residentMiB = std::stod(line.substr(6)) / 1024;
    }
    return sample;
}

struct PlaybackCost {
    double coreShare = 1e9;
    double residentMiB = 0;
};

// Starts a player, samples it after the warm-up, ends it. False when it was gone before the end.
bool samplePlayer(std::vector<std::string> words, const std::string& output, PlaybackCost& cost) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const bool started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!started) return false;
    ::usleep(useconds_t(kWarmUpSeconds * 1e6));
    const Sample before = sampleProcess(child);
    const auto start = std::chrono::steady_clock::now();
    ::usleep(useconds_t(kSampleSeconds * 1e6));
    const Sample after = sampleProcess(child);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int status = 0;
    const bool running = ::waitpid(child, &status, WNOHANG) == 0;
    ::kill(child, SIGTERM);
    ::waitpid(child, &status, 0);
    cost = {(after.cpu - before.cpu) / wall, after.residentMiB};
    return running;
}

void keepLower(PlaybackCost& best, const PlaybackCost& run) {
    if (run.coreShare < best.coreShare) best = run;
}

// The player, the engine in a bare window and mpv, playing the video at the player's size in alternating
// rounds; false when one of them stopped early.
bool compareWithMpv(const std::string& self, const std::string& video, const std::string& sizeFile, bool fullScreen) {
    struct Contestant {
        const char* name;
        std::function<std::vector<std::string>(const std::string& width, const std::string& height)> words;
        PlaybackCost best = {};
    };
    std::vector<Contestant> others = {
        {"avplayer in a bare window",
         [&](const std::string& w, const std::string& h) { return std::vector<std::string>{self, "--bare", w, h, video}; }},
        {"mpv --vo=gpu --gpu-sw", [&](const std::string& w, const std::string& h) {
             return std::vector<std::string>{"mpv", "--no-config", "--really-quiet", "--vo=gpu", "--gpu-sw",
                                             "--geometry=" + w + "x" + h + (fullScreen ? "+0+0" : ""),
                                             "--autofit=" + w + "x" + h, video};
         }}};
    int width = 0, height = 0;
    PlaybackCost player;
    for (int round = 0; round < 2; ++round) {
        PlaybackCost cost;
        if (!samplePlayer({self, fullScreen ? "--player-full-screen" : "--player", video}, sizeFile, cost)) {
            std::printf("the player stopped before the end of the sample\n");
            return false;
        }
        keepLower(player, cost);
        std::ifstream(sizeFile) >> width >> height;
        if (width <= 0 || height <= 0) return false;
        std::printf("  round %d: player %.1f %%", round + 1, cost.coreShare * 100);
        for (Contestant& other : others) {
            if (!samplePlayer(other.words(std::to_string(width), std::to_string(height)), "/dev/null", cost)) {
                std::printf("\n%s stopped before the end of the sample\n", other.name);
                return false;
            }
            keepLower(other.best, cost);
            std::printf(", %s %.1f %%", other.name, cost.coreShare * 100);
        }
        std::printf("\n");
    }
    std::printf("1280x720 H.264 + AAC in real time, video area %dx%d%s, software OpenGL, %.0f s sampled after %.0f s, "
                "lowest of 2\n", width, height, fullScreen ? " (full screen)" : "", kSampleSeconds, kWarmUpSeconds);
    std::printf("  %-32s %5.1f %% of a core   resident %6.0f MiB\n", "mirado player", player.coreShare * 100,
                player.residentMiB);
    for (const Contestant& other : others) {
        std::printf("  %-32s %5.1f %% of a core   resident %6.0f MiB\n", other.name, other.best.coreShare * 100,
                    other.best.residentMiB);
    }
    const PlaybackCost& mpv = others.back().best;
    verdict("player / mpv, CPU while playing", player.coreShare / mpv.coreShare, 1.2);
    verdict("bare window / mpv, CPU while playing", others[0].best.coreShare / mpv.coreShare, 1.2);
    verdict("player / mpv, resident memory", player.residentMiB / mpv.residentMiB, 1.2);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && (std::string(argv[1]) == "--player" || std::string(argv[1]) == "--player-full-screen")) {
        QApplication application(argc, argv);
        return playInPlayer(QString::fromLocal8Bit(argv[2]), std::string(argv[1]) == "--player-full-screen");
    }
    if (argc == 5 && std::string(argv[1]) == "--bare") {
        QApplication application(argc, argv);
        return playInBareWindow(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("real-time playback: skipped, no X server (tools/run-benchmarks.sh runs it under xvfb-run)\n");
        return 0;
    }
    if (!runProgram({"mpv", "--version"})) {
        std::printf("real-time playback: skipped, mpv is not installed (make bench installs it)\n");
        return 0;
    }
    ::setenv("ALSA_CONFIG_PATH", MIRADO_NULL_AUDIO_CONF, 1);
    ::setenv("PULSE_SERVER", "unix:/nonexistent", 1);
    ::setenv("PIPEWIRE_REMOTE", "/nonexistent", 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    mirado::testing::TempDir folder;
    const std::string video = (folder / "bench.mp4").string(), sizeFile = (folder / "size.txt").string();
    if (!runShell("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=40 "
                  "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=40 -c:v libx264 -preset veryfast "
                  "-pix_fmt yuv420p -c:a aac -b:a 128k '" + video + "'")) {
        std::fprintf(stderr, "ffmpeg could not make the test video\n");
        return 1;
    }
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    return compareWithMpv(self, video, sizeFile, false) && compareWithMpv(self, video, sizeFile, true) ? 0 : 1;
}
