#include "VideoWidget.h"

#include <mpv/render_gl.h>

#include <QEvent>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLWindow>
#include <QVBoxLayout>

#include "MpvFrame.h"

namespace mirado {

namespace {
void* procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context != nullptr ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}
}  // namespace

class VideoWindow : public QOpenGLWindow {
public:
    VideoWindow(mpv_handle* handle, std::function<void()> onReady)
        : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate), handle_(handle), onReady_(std::move(onReady)) {
        // Clicks, wheel and keys belong to the host window beneath.
        setFlags(flags() | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    }

    ~VideoWindow() override {
        if (renderContext_ == nullptr) return;
        makeCurrent();
        mpv_render_context_free(renderContext_);
        doneCurrent();
    }

    bool isReady() const { return renderContext_ != nullptr; }

    QImage grab() {
        if (renderContext_ == nullptr) return {};
        makeCurrent();
        const QSize pixels = pixelSize();
        QOpenGLFramebufferObject target(pixels);
        // Rows come out downwards from toImage() only when drawn upwards, as for the window itself.
        renderMpvFrame(renderContext_, int(target.handle()), pixels.width(), pixels.height());
        QImage image = target.toImage();
        doneCurrent();
        return image;
    }

protected:
    void initializeGL() override {
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
        mpv_render_context_set_update_callback(renderContext_, &VideoWindow::frameReady, this);
        if (onReady_) onReady_();
    }

    void paintGL() override {
        if (renderContext_ == nullptr) return;
        const QSize pixels = pixelSize();
        renderMpvFrame(renderContext_, int(defaultFramebufferObject()), pixels.width(), pixels.height());
    }

private:
    QSize pixelSize() const { return size() * devicePixelRatio(); }

    static void frameReady(void* self) {
        // Called on mpv's threads: only ask for a repaint on the UI thread.
        auto* window = static_cast<VideoWindow*>(self);
        QMetaObject::invokeMethod(window, [window] { window->update(); }, Qt::QueuedConnection);
    }

    mpv_handle* handle_;
    mpv_render_context* renderContext_ = nullptr;
    std::function<void()> onReady_;
};

VideoWidget::VideoWidget(QWidget* host, mpv_handle* handle, std::function<void()> onReady)
    : QWidget(host), window_(new VideoWindow(handle, std::move(onReady))) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    QWidget* container = QWidget::createWindowContainer(window_, this, Qt::WindowTransparentForInput);
    container->setAttribute(Qt::WA_TransparentForMouseEvents);
    container->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
    setGeometry(host->rect());
    host->installEventFilter(this);
    show();
}

VideoWidget::~VideoWidget() = default;

bool VideoWidget::isReady() const {
    return window_->isReady();
}

QImage VideoWidget::grabFramebuffer() {
    return window_->grab();
}

bool VideoWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

}  // namespace mirado
