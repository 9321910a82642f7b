#include "WindowDragger.h"

#include <QWidget>
#include <QWindow>

namespace mirado {

WindowDragger::WindowDragger(QWidget* window, LRESULT hitTest, QPoint globalStart)
    : m_window(window), m_hitTest(hitTest), m_start(globalStart), m_startGeometry(window->geometry())
{
    if (m_hitTest != HTCAPTION)
        begin();
}

void WindowDragger::begin()
{
    QWindow* native = m_window->windowHandle();
    bool bySystem = false;
    if (native && m_hitTest == HTCAPTION) {
        bySystem = native->startSystemMove();
    } else if (native) {
        Qt::Edges edges;
        if (m_hitTest == HTLEFT || m_hitTest == HTTOPLEFT || m_hitTest == HTBOTTOMLEFT)
            edges |= Qt::LeftEdge;
        if (m_hitTest == HTRIGHT || m_hitTest == HTTOPRIGHT || m_hitTest == HTBOTTOMRIGHT)
            edges |= Qt::RightEdge;
        if (m_hitTest == HTTOP || m_hitTest == HTTOPLEFT || m_hitTest == HTTOPRIGHT)
            edges |= Qt::TopEdge;
        if (m_hitTest == HTBOTTOM || m_hitTest == HTBOTTOMLEFT || m_hitTest == HTBOTTOMRIGHT)
            edges |= Qt::BottomEdge;
        bySystem = native->startSystemResize(edges);
    }
    m_mode = bySystem ? Mode::BySystem : Mode::Own;
}

void WindowDragger::dragTo(QPoint global)
{
    if (m_mode == Mode::Waiting) {
        if ((global - m_start).manhattanLength() < kMoveSlop)
            return;
        begin();
    }
    if (m_mode == Mode::Own)
        follow(global);
}

void WindowDragger::follow(QPoint global)
{
    const QPoint d = global - m_start;
    if (m_hitTest == HTCAPTION) {
        m_window->move(m_startGeometry.topLeft() + d);
        return;
    }
    const bool left = m_hitTest == HTLEFT || m_hitTest == HTTOPLEFT || m_hitTest == HTBOTTOMLEFT;
    const bool right = m_hitTest == HTRIGHT || m_hitTest == HTTOPRIGHT || m_hitTest == HTBOTTOMRIGHT;
    const bool top = m_hitTest == HTTOP || m_hitTest == HTTOPLEFT || m_hitTest == HTTOPRIGHT;
    const bool bottom = m_hitTest == HTBOTTOM || m_hitTest == HTBOTTOMLEFT || m_hitTest == HTBOTTOMRIGHT;
    const QSize minSize = m_window->minimumSize();
    const QSize maxSize = m_window->maximumSize();
    QRect g = m_startGeometry;
    // Each edge follows the pointer until the size limits stop it; the opposite edge stays.
    if (left)
        g.setLeft(std::clamp(g.left() + d.x(), g.right() + 1 - maxSize.width(), g.right() + 1 - minSize.width()));
    if (right)
        g.setRight(std::clamp(g.right() + d.x(), g.left() - 1 + minSize.width(), g.left() - 1 + maxSize.width()));
    if (top)
        g.setTop(std::clamp(g.top() + d.y(), g.bottom() + 1 - maxSize.height(), g.bottom() + 1 - minSize.height()));
    if (bottom)
        g.setBottom(std::clamp(g.bottom() + d.y(), g.top() - 1 + minSize.height(), g.top() - 1 + maxSize.height()));
    m_window->setGeometry(g);
}

} // namespace mirado
