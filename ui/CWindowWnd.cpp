#include "CWindowWnd.h"

#include "CPaintManagerUI.h"
#include "KeyTranslation.h"
#include "ModalBlock.h"
#include "WindowApi.h"
#include "WindowDragger.h"
#include "WindowHost.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <optional>

using mirado::WindowHost;

struct CWindowWnd::ModalState {
    QEventLoop loop;
    UINT result = static_cast<UINT>(-1);
    std::optional<mirado::ModalBlock> block;
};

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd()
{
    if (m_modal) {
        m_modal->loop.exit();
        m_modal = nullptr;
    }
    HWND widget = m_hWnd;
    Detach();
    if (widget) {
        widget->hide();
        widget->deleteLater();
    }
}

CWindowWnd* CWindowWnd::FromHandle(HWND hWnd)
{
    auto* host = dynamic_cast<WindowHost*>(hWnd);
    return host ? host->window() : nullptr;
}

HWND CWindowWnd::Create(HWND owner, const char16_t* name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy, void*)
{
    if (m_hWnd)
        return nullptr;
    const bool child = style & WS_CHILD;
    if (child && !owner)
        return nullptr;
    m_style = style;
    m_exStyle = exStyle;
    m_owner = owner;

    Qt::WindowFlags flags = Qt::Widget;
    if (!child) {
        // The skin draws title bar and frame, so every top-level window is frameless.
        flags = (owner ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint;
        if (exStyle & WS_EX_TOOLWINDOW)
            flags |= Qt::Tool;
        if (exStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
    }
    auto* host = new WindowHost(this, child ? owner : (owner ? owner->window() : nullptr), flags);
    host->setWindowTitle(QString::fromUtf16(name ? name : u""));
    m_hWnd = host;
    if (child)
        host->hide(); // children of a shown window would otherwise appear by themselves
    if (x != CW_USEDEFAULT && y != CW_USEDEFAULT)
        host->move(x, y);
    if (cx != CW_USEDEFAULT && cy != CW_USEDEFAULT)
        host->resize(std::max(cx, 0), std::max(cy, 0));

    if (SendMessage(WM_CREATE) == -1 || m_hWnd != host) {
        // A window that failed to come into being gets no final message: the caller
        // still owns the object and deletes it.
        Detach();
        host->deleteLater();
        return nullptr;
    }
    ApplyMinMax();
    if (style & WS_VISIBLE)
        ShowWindow(true, true);
    return m_hWnd;
}

void CWindowWnd::ApplyMinMax()
{
    if (!m_hWnd || !m_hWnd->isWindow())
        return;
    MINMAXINFO info{};
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    info.ptMaxPosition = POINT{avail.x(), avail.y()};
    info.ptMaxSize = POINT{avail.width(), avail.height()};
    info.ptMaxTrackSize = POINT{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (!m_hWnd)
        return;
    const QSize minSize(std::max(info.ptMinTrackSize.x, 0), std::max(info.ptMinTrackSize.y, 0));
    const QSize maxSize(std::max(info.ptMaxTrackSize.x, minSize.width()), std::max(info.ptMaxTrackSize.y, minSize.height()));
    m_hWnd->setMinimumSize(minSize);
    m_hWnd->setMaximumSize(maxSize);
}

void CWindowWnd::CenterWindow()
{
    if (!m_hWnd)
        return;
    QRect area;
    if (!m_hWnd->isWindow()) {
        area = m_hWnd->parentWidget()->rect();
    } else if (m_owner && m_owner->window()->isVisible()) {
        area = m_owner->window()->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    QRect g = m_hWnd->geometry();
    g.moveCenter(area.center());
    if (m_hWnd->isWindow()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            // Keep the title band reachable.
            const QRect avail = screen->availableGeometry();
            g.moveLeft(std::max(g.left(), avail.left()));
            g.moveTop(std::max(g.top(), avail.top()));
        }
    }
    m_hWnd->move(g.topLeft());
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    if (!m_hWnd)
        return;
    if (!show) {
        m_hWnd->hide();
        return;
    }
    m_hWnd->setAttribute(Qt::WA_ShowWithoutActivating, !takeFocus);
    m_hWnd->show();
    if (takeFocus) {
        if (m_hWnd->isWindow()) {
            m_hWnd->raise();
            m_hWnd->activateWindow();
        }
        m_hWnd->setFocus(Qt::OtherFocusReason);
    }
}

UINT CWindowWnd::ShowModal()
{
    if (!m_hWnd || m_modal)
        return static_cast<UINT>(-1);
    ModalState state;
    m_modal = &state;
    // Like a dialog: the owner takes no input until this window is gone; timers of
    // every window keep firing in the nested loop.
    state.block.emplace(m_owner, m_hWnd);
    if (!m_hWnd->isVisible())
        ShowWindow(true, true);
    state.loop.exec(QEventLoop::DialogExec);
    // `this` may be gone here (a window may delete itself in OnFinalMessage). The owner is
    // normally given back already, when the window closed.
    state.block.reset();
    return state.result;
}

void CWindowWnd::Close(UINT code)
{
    PostMessage(WM_CLOSE, code, 0);
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return 0;
    return HandleMessage(uMsg, wParam, lParam);
}

void CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return;
    QPointer<QWidget> host = m_hWnd;
    QTimer::singleShot(0, m_hWnd, [host, uMsg, wParam, lParam] {
        if (CWindowWnd* self = host ? FromHandle(host) : nullptr)
            self->SendMessage(uMsg, wParam, lParam);
    });
}

bool CWindowWnd::SetTimer(UINT id, UINT elapse)
{
    if (!m_hWnd)
        return false;
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(m_hWnd);
        QPointer<QWidget> host = m_hWnd;
        QObject::connect(timer, &QTimer::timeout, m_hWnd, [host, id] {
            if (CWindowWnd* self = host ? FromHandle(host) : nullptr)
                self->SendMessage(WM_TIMER, id, 0);
        });
    }
    timer->start(static_cast<int>(std::min<UINT>(elapse, 0x7FFFFFFF)));
    return true;
}

bool CWindowWnd::KillTimer(UINT id)
{
    const auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    it->second->stop();
    // The timer may be the one whose message is being handled right now.
    it->second->deleteLater();
    m_timers.erase(it);
    return true;
}

QPainter* CWindowWnd::BeginPaint()
{
    if (!m_paint)
        return nullptr;
    m_paint->validated = true;
    return m_paint->painter;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM)
{
    switch (uMsg) {
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(WM_CLOSE, IDCANCEL, 0);
            break;
        case SC_MINIMIZE:
            ::ShowWindow(m_hWnd, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ::ShowWindow(m_hWnd, SW_SHOWMAXIMIZED);
            break;
        case SC_RESTORE:
            ::ShowWindow(m_hWnd, SW_RESTORE);
            break;
        default:
            break;
        }
        return 0;
    case WM_CLOSE:
        if (m_modal)
            m_modal->result = static_cast<UINT>(wParam);
        DestroyWindow();
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    default:
        return 0;
    }
}

void CWindowWnd::OnFinalMessage(HWND) {}

bool CWindowWnd::PreTranslate(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

void CWindowWnd::DestroyWindow()
{
    HWND widget = m_hWnd;
    if (!widget)
        return;
    SendMessage(WM_DESTROY);
    if (m_modal)
        m_modal->block->release();
    widget->hide();
    if (m_modal) {
        m_modal->loop.exit();
        m_modal = nullptr;
    }
    Detach();
    widget->deleteLater();
    OnFinalMessage(widget); // may delete this
}

void CWindowWnd::Detach()
{
    for (auto& [id, timer] : m_timers)
        delete timer;
    m_timers.clear();
    delete m_dragger;
    m_dragger = nullptr;
    if (auto* host = dynamic_cast<WindowHost*>(m_hWnd))
        host->detach();
    m_hWnd = nullptr;
}

void CWindowWnd::HostDestroyed()
{
    // Qt is deleting the widget (its parent went away): timers go with it.
    m_timers.clear();
    delete m_dragger;
    m_dragger = nullptr;
    if (m_modal) {
        m_modal->loop.exit();
        m_modal = nullptr;
    }
    m_hWnd = nullptr;
}

void CWindowWnd::ParentChanged()
{
    if (!m_hWnd)
        return;
    m_style = m_hWnd->isWindow() ? ((m_style & ~WS_CHILD) | WS_POPUP) : ((m_style & ~WS_POPUP) | WS_CHILD);
}

namespace {

bool isSizingBorder(LRESULT hit)
{
    return hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
}

} // namespace

LRESULT CWindowWnd::FrameHitTest(QPoint global, QWidget*& frame)
{
    frame = nullptr;
    if (m_hWnd->isWindow()) {
        const LRESULT hit = SendMessage(WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y()));
        if (m_hWnd && hit != HTCLIENT && hit != HTNOWHERE)
            frame = m_hWnd;
        return hit;
    }
    // A child lying over its window's sizing border (the video surface at the play region's edge)
    // leaves that border to the window: the pointer there resizes the window.
    QWidget* top = m_hWnd->window();
    CWindowWnd* window = FromHandle(top);
    if (!window)
        return HTCLIENT;
    const LRESULT hit = window->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y()));
    if (!isSizingBorder(hit))
        return HTCLIENT;
    frame = top;
    return hit;
}

bool CWindowWnd::MousePress(QEvent* event, bool doubleClick)
{
    auto* me = static_cast<QMouseEvent*>(event);
    const QPoint local = me->position().toPoint();
    const QPoint global = me->globalPosition().toPoint();
    LRESULT lRes = 0;
    if (me->button() == Qt::LeftButton) {
        QWidget* frame = nullptr;
        const LRESULT hit = FrameHitTest(global, frame);
        if (!m_hWnd)
            return true;
        if (frame) {
            if (doubleClick) {
                if (hit == HTCAPTION && (m_style & WS_MAXIMIZEBOX))
                    SendMessage(WM_SYSCOMMAND, IsZoomed(m_hWnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
                return true;
            }
            delete m_dragger;
            m_dragger = new mirado::WindowDragger(frame, hit, global);
            return true;
        }
        const UINT msg = doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        const LPARAM pos = MAKELPARAM(local.x(), local.y());
        if (!PreTranslate(msg, MK_LBUTTON, pos, lRes))
            SendMessage(msg, MK_LBUTTON, pos);
        return true;
    }
    if (me->button() == Qt::RightButton) {
        SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(local.x(), local.y()));
        return true;
    }
    return false;
}

bool CWindowWnd::HostEvent(QEvent* event)
{
    LRESULT lRes = 0;
    switch (event->type()) {
    case QEvent::Paint: {
        auto* pe = static_cast<QPaintEvent*>(event);
        QPainter painter(m_hWnd);
        const QRect r = pe->rect();
        PaintContext context{&painter, RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, false};
        m_paint = &context;
        SendMessage(WM_PAINT, 0, reinterpret_cast<LPARAM>(&context));
        m_paint = nullptr;
        return true;
    }
    // Only the parent places a child window. A window manager that let go of a window a moment ago
    // (the video leaving full screen) may still move and size it as the top-level it was, over the
    // whole parent: such a change is taken back.
    case QEvent::Move:
        if (event->spontaneous() && !m_hWnd->isWindow())
            m_hWnd->move(static_cast<QMoveEvent*>(event)->oldPos());
        return false;
    case QEvent::Resize:
        if (event->spontaneous() && !m_hWnd->isWindow())
            m_hWnd->resize(static_cast<QResizeEvent*>(event)->oldSize());
        [[fallthrough]];
    case QEvent::WindowStateChange: {
        const WPARAM kind = IsIconic(m_hWnd) ? SIZE_MINIMIZED : IsZoomed(m_hWnd) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessage(WM_SIZE, kind, MAKELPARAM(m_hWnd->width(), m_hWnd->height()));
        return false;
    }
    case QEvent::MouseButtonPress:
        return MousePress(event, false);
    case QEvent::MouseButtonDblClick:
        return MousePress(event, true);
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint local = me->position().toPoint();
        if (me->button() == Qt::LeftButton) {
            if (m_dragger) {
                delete m_dragger;
                m_dragger = nullptr;
                return true;
            }
            const LPARAM pos = MAKELPARAM(local.x(), local.y());
            if (!PreTranslate(WM_LBUTTONUP, 0, pos, lRes))
                SendMessage(WM_LBUTTONUP, 0, pos);
            return true;
        }
        if (me->button() == Qt::RightButton) {
            SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(local.x(), local.y()));
            return true;
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint global = me->globalPosition().toPoint();
        if (m_dragger && (me->buttons() & Qt::LeftButton)) {
            m_dragger->dragTo(global);
            return true;
        }
        // The window system took the pointer for its move or resize and kept the release.
        delete m_dragger;
        m_dragger = nullptr;
        if (me->buttons() == Qt::NoButton) {
            // The pointer shows where the frame can be pulled.
            QWidget* frame = nullptr;
            const LRESULT hit = FrameHitTest(global, frame);
            if (!m_hWnd)
                return true;
            Qt::CursorShape shape = Qt::ArrowCursor;
            if (hit == HTLEFT || hit == HTRIGHT)
                shape = Qt::SizeHorCursor;
            else if (hit == HTTOP || hit == HTBOTTOM)
                shape = Qt::SizeVerCursor;
            else if (hit == HTTOPLEFT || hit == HTBOTTOMRIGHT)
                shape = Qt::SizeFDiagCursor;
            else if (hit == HTTOPRIGHT || hit == HTBOTTOMLEFT)
                shape = Qt::SizeBDiagCursor;
            m_hWnd->setCursor(shape);
        }
        const QPoint local = me->position().toPoint();
        const LPARAM pos = MAKELPARAM(local.x(), local.y());
        const WPARAM keys = (me->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0;
        if (m_hWnd && !PreTranslate(WM_MOUSEMOVE, keys, pos, lRes))
            SendMessage(WM_MOUSEMOVE, keys, pos);
        return true;
    }
    case QEvent::Leave:
        SendMessage(WM_MOUSELEAVE);
        return false;
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(event);
        const QPoint global = we->globalPosition().toPoint();
        const auto delta = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(we->angleDelta().y(), -32768, 32767)));
        SendMessage(WM_MOUSEWHEEL, static_cast<WPARAM>(delta) << 16, MAKELPARAM(global.x(), global.y()));
        return true;
    }
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        const WPARAM vk = mirado::virtualKeyFor(ke->key());
        const LPARAM keyData = MAKELPARAM(1, mirado::isAutoRepeat(*ke) ? KF_REPEAT : 0);
        if (vk && !PreTranslate(WM_KEYDOWN, vk, keyData, lRes))
            SendMessage(WM_KEYDOWN, vk, keyData);
        if (m_hWnd) {
            for (QChar ch : ke->text()) {
                if (ch.isPrint())
                    SendMessage(WM_CHAR, ch.unicode(), 0);
            }
        }
        return vk != 0 || !ke->text().isEmpty();
    }
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(event);
        mirado::noteKeyRelease(*ke);
        const WPARAM vk = mirado::virtualKeyFor(ke->key());
        if (vk)
            SendMessage(WM_KEYUP, vk, 0);
        return vk != 0;
    }
    case QEvent::FocusIn:
        SendMessage(WM_SETFOCUS);
        return false;
    case QEvent::FocusOut:
        SendMessage(WM_KILLFOCUS);
        return false;
    case QEvent::ActivationChange:
        SendMessage(WM_NCACTIVATE, m_hWnd->isActiveWindow() ? 1 : 0, 0);
        return false;
    case QEvent::ToolTip: {
        const QPoint pos = static_cast<QHelpEvent*>(event)->pos();
        SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(pos.x(), pos.y()));
        return true;
    }
    case QEvent::Close:
        // The window system's close (Alt+F4, a task bar) is a system command here;
        // the window itself decides whether it goes.
        event->ignore();
        PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    case QEvent::ScreenChangeInternal:
        ApplyMinMax();
        return false;
    default:
        return false;
    }
}
