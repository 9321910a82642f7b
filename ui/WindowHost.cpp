#include "WindowHost.h"

#include "CWindowWnd.h"

#include <QEvent>

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

namespace {

bool isUserInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

} // namespace

bool WindowHost::event(QEvent* event)
{
    // A disabled window (the owner of an open modal window, or a child of it) takes no input;
    // QWidget::event drops it. Timers and painting go on.
    if (!isEnabled() && isUserInput(event))
        return QWidget::event(event);
    if (m_window && m_window->HostEvent(event))
        return true;
    return QWidget::event(event);
}

} // namespace mirado
