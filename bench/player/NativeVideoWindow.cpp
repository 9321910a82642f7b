#include "NativeVideoWindow.h"

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <QOpenGLContext>

#include "engine/MpvFrame.h"

namespace {
void* procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context != nullptr ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}
}  // namespace

NativeVideoWindow::NativeVideoWindow(mpv_handle* handle, const char* file)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate), handle_(handle), file_(file) {}

NativeVideoWindow::~NativeVideoWindow() {
    makeCurrent();
    if (renderContext_ != nullptr) mpv_render_context_free(renderContext_);
    doneCurrent();
}

void NativeVideoWindow::initializeGL() {
    mpv_opengl_init_params glParams{&procAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glParams},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&renderContext_, handle_, params) < 0) return;
    mpv_render_context_set_update_callback(
        renderContext_,
        [](void* self) {
            auto* window = static_cast<NativeVideoWindow*>(self);
            QMetaObject::invokeMethod(window, [window] { window->update(); }, Qt::QueuedConnection);
        },
        this);
    const char* load[] = {"loadfile", file_, nullptr};
    mpv_command_async(handle_, 0, load);
}

void NativeVideoWindow::paintGL() {
    if (renderContext_ == nullptr) return;
    const qreal ratio = devicePixelRatio();
    mirado::renderMpvFrame(renderContext_, int(defaultFramebufferObject()), int(width() * ratio), int(height() * ratio));
}
