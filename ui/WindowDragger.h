#pragma once
// Moving and resizing a frameless window by the mouse where the window system will
// not do it (QWindow::startSystemMove/Resize return false, e.g. on a bare X server).
#include "WinTypes.h"

#include <QPoint>
#include <QRect>

class QWidget;

namespace mirado {

class WindowDragger {
public:
    // hitTest is HTCAPTION or a border / corner code.
    WindowDragger(QWidget* window, LRESULT hitTest, QPoint globalStart);
    void dragTo(QPoint global);

private:
    QWidget* m_window;
    LRESULT m_hitTest;
    QPoint m_start;
    QRect m_startGeometry;
};

} // namespace mirado
