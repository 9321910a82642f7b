// Draws the settings window with a folder job under way into a PNG, for the README:
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb
//       build/tests/player/settings/settings_screenshot docs/screenshots/settings-job.png
// The job is real; it is held in the middle of its third file while the picture is taken.
#include <QApplication>
#include <QTest>
#include <chrono>
#include <cstdio>

#include "JobHold.h"
#include "tests/support/TempDir.h"
#include "ui/testing/UiTestHarness.h"

using namespace mirado::testing;
namespace fs = std::filesystem;

namespace {

void makeFile(const fs::path& path, std::size_t size) { writeFile(path, patternBytes(size)); }

bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        runFor(10);
    }
    return true;
}

QString qPath(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_screenshot OUTPUT.png\n");
        return 2;
    }
    TempDir dir;
    // Deep enough that the right-aligned path edits show the folders a person would recognise.
    const fs::path home = dir / "home/anna";
    const fs::path source = home / "Videos/Family albums/2026/Holiday by the sea";
    const fs::path out = home / "Videos/Family albums/2026/Protected for sharing";
    fs::create_directories(out);
    makeFile(source / "arrival.mp4", 3u << 20);
    makeFile(source / "beach.jpg", 600u << 10);
    makeFile(source / "boat trip/harbour at dawn.mp4", 14u << 20);
    makeFile(source / "boat trip/island.png", 900u << 10);
    makeFile(source / "evening/fireworks.mkv", 9u << 20);

    ServiceScope services;
    JobHold hold(2);
    CSystemInfoFrame window(hold.job());
    if (!createShown(window, QStringLiteral("SystemConfigFrame"), 60, 60)) return 1;
    click(window, QStringLiteral("chk_encodedir"));
    services.folders->answers = {qPath(source), qPath(out)};
    click(window, QStringLiteral("btn_openfile"));
    click(window, QStringLiteral("btn_opendstpath"));
    typeInto(window, QStringLiteral("edit_encode_psw"), QStringLiteral("Summer2026"));
    click(window, QStringLiteral("chk_watermark"));
    typeInto(window, QStringLiteral("edit_water_content"), QStringLiteral("© Anna Berg"));
    chooseComboItem(window, QStringLiteral("comb_watercolor"), 2);
    chooseComboItem(window, QStringLiteral("comb_waterpos"), 3);
    click(window, QStringLiteral("btn_encodefile"));
    if (!waitUntil([&] { return hold.reached(); })) return 1;
    runFor(300);
    const bool saved = grabToPng(window, QString::fromLocal8Bit(argv[1]));

    click(window, QStringLiteral("btn_cancelencode"));
    hold.release();
    waitUntil([&] { return !window.IsEncrypting(); });
    if (!saved) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
