#pragma once
#include <QOpenGLWidget>
#include <functional>

struct mpv_handle;
struct mpv_render_context;

namespace mirado {

// The OpenGL surface mpv's render API draws into. It lies over the whole host window, follows its size
// and lets the host's mouse events through, so the host keeps its own clicks and keys.
class VideoWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    // `onReady` runs each time a render context has been made, `onLost` just before one goes away (the
    // widget moved to another top-level window): mpv's video output dies with it.
    VideoWidget(QWidget* host, mpv_handle* handle, std::function<void()> onReady, std::function<void()> onLost);
    ~VideoWidget() override;

    // True once the render context exists; mpv's video output needs it before a file is loaded.
    bool isReady() const { return renderContext_ != nullptr; }

protected:
    void initializeGL() override;
    void paintGL() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void frameReady(void* self);
    void contextGoing();
    void releaseRenderContext();

    mpv_handle* handle_;
    mpv_render_context* renderContext_ = nullptr;
    std::function<void()> onReady_;
    std::function<void()> onLost_;
};

}  // namespace mirado
