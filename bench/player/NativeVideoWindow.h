#pragma once
#include <QOpenGLWindow>

struct mpv_handle;
struct mpv_render_context;

// The reference the engine's video widget is measured against: mpv's render API drawing straight into
// a native OpenGL window (embedded with QWidget::createWindowContainer), with no widget compositing.
class NativeVideoWindow : public QOpenGLWindow {
public:
    NativeVideoWindow(mpv_handle* handle, const char* file);
    ~NativeVideoWindow() override;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    mpv_handle* handle_;
    const char* file_;
    mpv_render_context* renderContext_ = nullptr;
};
