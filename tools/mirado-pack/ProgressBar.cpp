#include "ProgressBar.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <string>

namespace mirado::pack {
namespace {

std::string formatBytes(double bytes) {
    const char* units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    int unit = 0;
    while (bytes >= 1024 && unit < 4) {
        bytes /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, units[unit]);
    return text;
}

std::string formatDuration(double seconds) {
    const long whole = long(seconds + 0.5);
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

int terminalColumns(int fd) {
    winsize size{};
    return ::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

ProgressBar::ProgressBar(std::FILE* terminal, int columns) : terminal_(terminal), columns_(columns) {}

void ProgressBar::fileStarted(const FileStart& file) {
    filesTotal_ = file.total;
    bytesTotal_ = file.jobBytes;
    draw(!drawn_);
}

void ProgressBar::fileFinished() {
    ++filesDone_;
    draw(false);
}

void ProgressBar::bytesDone(std::uint64_t jobBytesDone) {
    bytesDone_ = jobBytesDone;
    draw(false);
}

void ProgressBar::finish() {
    if (!drawn_) return;
    draw(true);
    std::fputc('\n', terminal_);
    std::fflush(terminal_);
}

void ProgressBar::draw(bool always) {
    const auto now = Clock::now();
    if (!always && now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    drawn_ = true;

    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const std::uint64_t done = std::min(bytesDone_, bytesTotal_);
    std::string text = "  " + std::to_string(filesDone_) + "/" + std::to_string(filesTotal_) + " files  " +
                       formatBytes(double(done)) + " / " + formatBytes(double(bytesTotal_));
    if (elapsed >= 0.5 && done > 0) {
        const double rate = double(done) / elapsed;
        text += "  " + formatBytes(rate) + "/s  " + formatDuration(double(bytesTotal_ - done) / rate) + " left";
    }
    // The bar takes what the text leaves of the line, up to 30 cells; one column stays free so the
    // cursor never wraps.
    const int barWidth = std::min(30, columns_ - 1 - int(text.size()) - 2);
    std::string line;
    if (barWidth >= 5) {
        const double fraction = bytesTotal_ > 0 ? double(done) / double(bytesTotal_)
                                                : (filesTotal_ > 0 ? double(filesDone_) / filesTotal_ : 1.0);
        const int filled = int(fraction * barWidth);
        line = "[" + std::string(std::size_t(filled), '#') + std::string(std::size_t(barWidth - filled), '-') + "]";
    }
    line += text;
    if (int(line.size()) > columns_ - 1) line.resize(std::size_t(std::max(0, columns_ - 1)));
    std::fprintf(terminal_, "\r%s\x1b[K", line.c_str());
    std::fflush(terminal_);
}

}  // namespace mirado::pack
