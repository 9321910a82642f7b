#include "FileDropFilter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "player/LocalFiles.h"

namespace mirado {
namespace {

QStringList localPaths(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return existingFiles(paths);
}

}  // namespace

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (localPaths(drag->mimeData()).isEmpty()) return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = localPaths(drop->mimeData());
        if (paths.isEmpty()) return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        receiver_(paths);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace mirado
