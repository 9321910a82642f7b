#pragma once
// Moving and resizing a frameless window by the mouse, from a press on its caption or a sizing
// border until the release. The window system does it where it can (QWindow::startSystemMove/
// Resize); where it will not (a bare X server) the window follows the pointer here.
#include "WinTypes.h"

#include <QPoint>
#include <QRect>

class QWidget;

namespace mirado {

class WindowDragger {
public:
    // The pointer must go this far from the press, button held, before a move begins: a window
    // manager that takes the pointer for the move would swallow the second click of a double-click.
    static constexpr int kMoveSlop = 4;

    // hitTest is HTCAPTION or a border / corner code. A resize begins at once.
    WindowDragger(QWidget* window, LRESULT hitTest, QPoint globalStart);
    // The pointer moved with the button held.
    void dragTo(QPoint global);

private:
    enum class Mode { Waiting, BySystem, Own };
    void begin();
    void follow(QPoint global);

    QWidget* m_window;
    LRESULT m_hitTest;
    QPoint m_start;
    QRect m_startGeometry;
    Mode m_mode = Mode::Waiting;
};

} // namespace mirado
