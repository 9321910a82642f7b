// Peak memory of the player showing one picture: the real main window on the offscreen platform, the
// picture named on the command line shown as the play button shows it, then the peak resident size
// (VmHWM) read from /proc/self/status.
//   player_picture_memory_bench PICTURE
// For the largest picture the budget allows: convert -size 10000x10000 plasma: big.jpg
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "player/CMainFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CPaintManagerUI.h"

namespace {

std::string statusLine(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0) return line;
    }
    return key + " ?";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PICTURE\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    CPaintManagerUI::SetInstance(qApp);
    auto frame = std::make_unique<CMainFrame>();
    g_pMainFrame = frame.get();
    if (frame->Create(nullptr, u"MiradoVideo_WNDNAME", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0) == nullptr) return 1;
    frame->ShowWindow(true, true);
    const std::string before = statusLine("VmHWM");
    frame->addPaths({QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath()});
    QElapsedTimer clock;
    clock.start();
    frame->PlaySelected();
    // Long enough for the surface's redraw timer to paint the picture a few times.
    while (clock.elapsed() < 1500) QApplication::processEvents(QEventLoop::AllEvents, 50);
    const bool shown = frame->videoSurface() != nullptr && frame->videoSurface()->isPictureShown();
    std::printf("picture %s, shown %s after %lld ms\nbefore: %s\nafter:  %s\n", argv[1], shown ? "yes" : "no",
                static_cast<long long>(clock.elapsed()), before.c_str(), statusLine("VmHWM").c_str());
    g_pMainFrame = nullptr;
    return shown ? 0 : 1;
}
