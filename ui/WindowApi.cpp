#include "WindowApi.h"

#include "CWindowWnd.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <chrono>

namespace {
bool g_loopRunning = false;
bool g_quitPosted = false;
int g_quitCode = 0;
} // namespace

DWORD GetTickCount()
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<DWORD>(static_cast<std::uint64_t>(ms.count()));
}

int GetSystemMetrics(int index)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    if (index == SM_CXSCREEN)
        return screen->geometry().width();
    if (index == SM_CYSCREEN)
        return screen->geometry().height();
    return 0;
}

bool SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (!hWnd)
        return false;
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
            const bool top = insertAfter == HWND_TOPMOST;
            if (hWnd->isWindow() && hWnd->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != top) {
                const Qt::WindowFlags flags = hWnd->windowFlags().setFlag(Qt::WindowStaysOnTopHint, top);
                // Told to the native window as it is: remaking it would lose the native windows inside.
                hWnd->overrideWindowFlags(flags);
                if (QWindow* native = hWnd->windowHandle())
                    native->setFlags(flags);
            }
        } else {
            hWnd->raise();
        }
    }
    if (!(flags & SWP_NOMOVE)) {
        // A frameless window is placed by its client area: the frame a widget reports can lag behind, for
        // one that became a top-level window holding native windows just now, and a move by the frame
        // would land it where it already was.
        if (hWnd->isWindow() && hWnd->windowFlags().testFlag(Qt::FramelessWindowHint))
            hWnd->setGeometry(QRect(QPoint(x, y), hWnd->size()));
        else
            hWnd->move(x, y);
    }
    if (!(flags & SWP_NOSIZE))
        hWnd->resize(std::max(cx, 0), std::max(cy, 0));
    if (flags & SWP_SHOWWINDOW)
        hWnd->show();
    else if (flags & SWP_HIDEWINDOW)
        hWnd->hide();
    return true;
}

HWND SetParent(HWND hWnd, HWND parent)
{
    if (!hWnd)
        return nullptr;
    HWND old = hWnd->parentWidget();
    const bool visible = !hWnd->isHidden();
    const QRect geometry = hWnd->geometry();
    if (parent)
        hWnd->setParent(parent, Qt::Widget);
    else
        hWnd->setParent(nullptr, Qt::Window | Qt::FramelessWindowHint);
    hWnd->setGeometry(geometry);
    if (visible)
        hWnd->show();
    if (CWindowWnd* wnd = CWindowWnd::FromHandle(hWnd))
        wnd->ParentChanged();
    return old;
}

HWND GetParent(HWND hWnd)
{
    return hWnd ? hWnd->parentWidget() : nullptr;
}

bool GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* placement)
{
    if (!hWnd || !placement)
        return false;
    const QRect normal = hWnd->isWindow() && (hWnd->isMaximized() || hWnd->isMinimized()) && hWnd->normalGeometry().isValid()
                             ? hWnd->normalGeometry()
                             : hWnd->geometry();
    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = 0;
    placement->showCmd = hWnd->isHidden() ? SW_HIDE
                         : hWnd->isMinimized() ? SW_SHOWMINIMIZED
                         : hWnd->isMaximized() ? SW_SHOWMAXIMIZED
                                               : SW_SHOWNORMAL;
    placement->rcNormalPosition = RECT{normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()};
    return true;
}

bool SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* placement)
{
    if (!hWnd || !placement)
        return false;
    const RECT& rc = placement->rcNormalPosition;
    if (!rc.isEmpty()) {
        if (hWnd->isWindow() && (hWnd->isMaximized() || hWnd->isMinimized()))
            hWnd->showNormal();
        hWnd->setGeometry(rc.left, rc.top, rc.width(), rc.height());
    }
    return ShowWindow(hWnd, static_cast<int>(placement->showCmd));
}

bool ShowWindow(HWND hWnd, int showCmd)
{
    if (!hWnd)
        return false;
    const bool wasVisible = hWnd->isVisible();
    switch (showCmd) {
    case SW_HIDE:
        hWnd->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        hWnd->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        hWnd->showMaximized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (hWnd->isWindow())
            hWnd->showNormal();
        else
            hWnd->show();
        break;
    case SW_SHOWNOACTIVATE:
        hWnd->setAttribute(Qt::WA_ShowWithoutActivating, true);
        hWnd->show();
        hWnd->setAttribute(Qt::WA_ShowWithoutActivating, false);
        break;
    default:
        hWnd->show();
        break;
    }
    return wasVisible;
}

bool IsWindow(HWND hWnd)
{
    return CWindowWnd::FromHandle(hWnd) != nullptr;
}

bool IsWindowVisible(HWND hWnd)
{
    return hWnd && hWnd->isVisible();
}

bool IsWindowEnabled(HWND hWnd)
{
    return hWnd && hWnd->isEnabled();
}

bool IsZoomed(HWND hWnd)
{
    return hWnd && hWnd->isWindow() && hWnd->isMaximized();
}

bool IsIconic(HWND hWnd)
{
    return hWnd && hWnd->isWindow() && hWnd->isMinimized();
}

bool GetClientRect(HWND hWnd, RECT* rc)
{
    if (!hWnd || !rc)
        return false;
    *rc = RECT{0, 0, hWnd->width(), hWnd->height()};
    return true;
}

bool GetWindowRect(HWND hWnd, RECT* rc)
{
    if (!hWnd || !rc)
        return false;
    const QPoint topLeft = hWnd->mapToGlobal(QPoint(0, 0));
    *rc = RECT{topLeft.x(), topLeft.y(), topLeft.x() + hWnd->width(), topLeft.y() + hWnd->height()};
    return true;
}

bool InvalidateRect(HWND hWnd, const RECT* rc, bool)
{
    if (!hWnd)
        return false;
    if (rc)
        hWnd->update(QRect(rc->left, rc->top, rc->width(), rc->height()));
    else
        hWnd->update();
    return true;
}

bool UpdateWindow(HWND hWnd)
{
    if (!hWnd)
        return false;
    hWnd->repaint();
    return true;
}

bool SetForegroundWindow(HWND hWnd)
{
    if (!hWnd)
        return false;
    QWidget* top = hWnd->window();
    top->raise();
    top->activateWindow();
    return true;
}

DWORD GetWindowStyle(HWND hWnd)
{
    const CWindowWnd* wnd = CWindowWnd::FromHandle(hWnd);
    return wnd ? wnd->GetStyle() : 0;
}

void SetWindowStyle(HWND hWnd, DWORD style)
{
    if (CWindowWnd* wnd = CWindowWnd::FromHandle(hWnd))
        wnd->SetStyle(style);
}

void PostQuitMessage(int code)
{
    g_quitPosted = true;
    g_quitCode = code;
    if (g_loopRunning)
        QCoreApplication::exit(code);
}

namespace mirado {

int runMessageLoop()
{
    if (!g_quitPosted) {
        g_loopRunning = true;
        QApplication::exec();
        g_loopRunning = false;
    }
    const int code = g_quitCode;
    clearQuit();
    return code;
}

bool quitPosted(int* code)
{
    if (code && g_quitPosted)
        *code = g_quitCode;
    return g_quitPosted;
}

void clearQuit()
{
    g_quitPosted = false;
    g_quitCode = 0;
}

} // namespace mirado
