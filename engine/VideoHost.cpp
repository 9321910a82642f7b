#include "VideoHost.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLWidget>

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

void prepareVideoHost(QWidget* host) {
    if (host == nullptr || !videoOutputAvailable()) return;
    // Never shown, never given a context: it only marks the window tree as holding OpenGL content,
    // which stays so for the life of the top-level window.
    auto* placeholder = new QOpenGLWidget(host);
    placeholder->setObjectName(QStringLiteral("mirado-video-host-placeholder"));
    placeholder->setAttribute(Qt::WA_TransparentForMouseEvents);
    placeholder->setFocusPolicy(Qt::NoFocus);
    placeholder->setGeometry(0, 0, 0, 0);
    placeholder->hide();
}

}  // namespace mirado
