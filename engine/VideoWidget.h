#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

struct mpv_handle;

namespace mirado {

class VideoWindow;

// Where mpv's render API draws the video: a native OpenGL window of its own, embedded in the host
// window, so a frame costs one draw and one buffer swap and the rest of the host window is not
// redrawn with it. It lies over the whole host, follows its size and lets mouse input through to it,
// so the host keeps its own clicks and keys; whatever must show above the video is a native child
// window raised over it.
class VideoWidget : public QWidget {
    Q_OBJECT
public:
    // `onReady` runs once the render context has been made: mpv's video output needs it before a file
    // is loaded.
    VideoWidget(QWidget* host, mpv_handle* handle, std::function<void()> onReady);
    ~VideoWidget() override;

    bool isReady() const;
    // The current frame drawn at the widget's size into an offscreen framebuffer: what the screen shows,
    // without reading back a buffer that was already swapped out. Null before the first frame.
    QImage grabFramebuffer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    VideoWindow* window_;  // owned by its container, a child of this widget
};

}  // namespace mirado
