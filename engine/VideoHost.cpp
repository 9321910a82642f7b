#include "VideoHost.h"

#include <QGuiApplication>
#include <QOpenGLContext>

namespace mirado {

bool videoOutputAvailable() {
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal") return false;
    static const bool created = [] {
        QOpenGLContext probe;
        return probe.create();
    }();
    return created;
}

}  // namespace mirado
