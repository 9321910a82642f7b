#include "VideoWidget.h"

#include <mpv/render_gl.h>

#include <QEvent>
#include <QOpenGLContext>

#include "MpvFrame.h"

namespace mirado {

namespace {
void* procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context != nullptr ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}
}  // namespace

VideoWidget::VideoWidget(QWidget* host, mpv_handle* handle, std::function<void()> onReady,
                         std::function<void()> onLost)
    : QOpenGLWidget(host), handle_(handle), onReady_(std::move(onReady)), onLost_(std::move(onLost)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(host->rect());
    host->installEventFilter(this);
    show();
}

VideoWidget::~VideoWidget() {
    // The base class destroys the context later, when this part of the object is gone already.
    if (context() != nullptr) disconnect(context(), nullptr, this, nullptr);
    makeCurrent();
    releaseRenderContext();
    doneCurrent();
}

void VideoWidget::initializeGL() {
    // A widget moved to another top-level window gets a new context; the old one goes first.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &VideoWidget::contextGoing,
            Qt::UniqueConnection);
    mpv_opengl_init_params glParams{&procAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glParams},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&renderContext_, handle_, params) < 0) {
        renderContext_ = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(renderContext_, &VideoWidget::frameReady, this);
    if (onReady_) onReady_();
}

void VideoWidget::paintGL() {
    if (renderContext_ == nullptr) return;
    const qreal ratio = devicePixelRatioF();
    renderMpvFrame(renderContext_, int(defaultFramebufferObject()), int(width() * ratio), int(height() * ratio));
}

bool VideoWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QOpenGLWidget::eventFilter(watched, event);
}

void VideoWidget::frameReady(void* self) {
    // Called on mpv's threads: only ask for a repaint on the UI thread.
    auto* widget = static_cast<VideoWidget*>(self);
    QMetaObject::invokeMethod(widget, qOverload<>(&QWidget::update), Qt::QueuedConnection);
}

void VideoWidget::contextGoing() {
    if (renderContext_ != nullptr && onLost_) onLost_();
    makeCurrent();
    releaseRenderContext();
    doneCurrent();
}

void VideoWidget::releaseRenderContext() {
    if (renderContext_ == nullptr) return;
    mpv_render_context_free(renderContext_);
    renderContext_ = nullptr;
}

}  // namespace mirado
