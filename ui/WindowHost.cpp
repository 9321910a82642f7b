#include "WindowHost.h"

#include "CWindowWnd.h"

namespace mirado {

WindowHost::WindowHost(CWindowWnd* window, QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags), m_window(window)
{
    // The skin paints every pixel; Qt's backing store keeps painting flicker-free.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

WindowHost::~WindowHost()
{
    if (m_window)
        m_window->HostDestroyed();
}

bool WindowHost::event(QEvent* event)
{
    if (m_window && m_window->HostEvent(event))
        return true;
    return QWidget::event(event);
}

} // namespace mirado
