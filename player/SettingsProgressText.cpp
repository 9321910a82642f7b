#include "SettingsProgressText.h"

#include <array>

#include "ui/Translation.h"

namespace mirado {

QString byteCountText(std::uint64_t bytes) {
    static constexpr std::array<const char*, 5> units{"B", "KB", "MB", "GB", "TB"};
    if (bytes < 1024) return QStringLiteral("%1 B").arg(bytes);
    double value = double(bytes);
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < units.size()) {
        value /= 1024;
        ++unit;
    }
    // Three significant digits are enough to watch a job move.
    const int decimals = value < 10 ? 2 : value < 100 ? 1 : 0;
    return QStringLiteral("%1 %2").arg(value, 0, 'f', decimals).arg(QLatin1String(units[unit]));
}

int progressPermille(const JobProgress& progress) {
    if (progress.bytesTotal > 0) {
        const std::uint64_t done = std::min(progress.bytesDone, progress.bytesTotal);
        return int(done * 1000 / progress.bytesTotal);
    }
    if (progress.fileTotal > 0) return progress.filesDone * 1000 / progress.fileTotal;
    return 0;
}

QString progressTextFor(const JobProgress& progress, bool stopping) {
    if (stopping) return uiText(QStringLiteral("正在取消, 未完成的文件将被删除..."));
    if (progress.searching) return uiText(QStringLiteral("正在查找要加密的文件..."));
    return uiText(QStringLiteral("已完成 %1/%2 个文件 · %3 / %4 · 正在加密 %5"))
        .arg(progress.filesDone)
        .arg(progress.fileTotal)
        .arg(byteCountText(progress.bytesDone), byteCountText(progress.bytesTotal),
             QString::fromStdString(progress.currentFile.filename().string()));
}

}  // namespace mirado
