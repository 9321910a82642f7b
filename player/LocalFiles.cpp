#include "LocalFiles.h"

#include <QDir>
#include <QFileInfo>

namespace mirado {

QStringList existingFiles(const QStringList& candidates, const QString& base) {
    const QDir folder(base.isEmpty() ? QDir::currentPath() : base);
    QStringList files;
    for (const QString& candidate : candidates) {
        if (candidate.isEmpty()) continue;
        const QFileInfo info(folder, candidate);
        if (info.isFile()) files << QDir::cleanPath(info.absoluteFilePath());
    }
    return files;
}

}  // namespace mirado
