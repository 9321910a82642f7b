#pragma once
// A native window of the framework. Its handle is the QWidget that is the window
// (a child QWidget of its parent's widget for WS_CHILD windows). Qt events arrive as
// the framework's messages through HandleMessage; timers are kept by id; ShowModal
// runs a nested event loop that returns the code given to Close.
#include "WinTypes.h"

#include <map>

class QEvent;
class QPoint;
class QWidget;
class QPainter;
class QTimer;
struct PaintContext;

namespace mirado {
class WindowDragger;
}

class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    // The window given as owner (or parent) at creation; a child keeps it while it is a top-level
    // window of its own.
    HWND GetOwner() const { return m_owner; }
    operator HWND() const { return m_hWnd; }
    // The framework window whose handle hWnd is, or null.
    static CWindowWnd* FromHandle(HWND hWnd);

    // WS_CHILD makes a child of owner (which must exist); otherwise a frameless
    // top-level window, kept above owner when there is one. CW_USEDEFAULT leaves a
    // coordinate to the system. WS_VISIBLE shows it. Null when creation failed.
    HWND Create(HWND owner, const char16_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, void* menu = nullptr);
    // Centres over the owner's window, or over the primary screen without one.
    void CenterWindow();
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Runs until the window closes and returns the code given to Close. (UINT)-1 when
    // the window does not exist or already runs modally.
    UINT ShowModal();
    bool IsModal() const { return m_modal != nullptr; }
    // Closes the window soon (after the current message); ShowModal returns code.
    void Close(UINT code = IDOK);
    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessage(uMsg, wParam, lParam); }
    void PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Starts (or restarts) timer id; WM_TIMER with wParam id arrives every elapse ms.
    bool SetTimer(UINT id, UINT elapse);
    bool KillTimer(UINT id);
    DWORD GetStyle() const { return m_style; }
    DWORD GetExStyle() const { return m_exStyle; }
    void SetStyle(DWORD style) { m_style = style; }

    // Inside WM_PAINT: the painter of this paint, which the window now draws itself
    // (the skin is then not painted over it). Null outside a paint.
    QPainter* BeginPaint();

    virtual const char16_t* ClassNameOfWindow() const = 0;
    virtual const char16_t* GetSuperClassName() const { return nullptr; }
    virtual UINT GetClassStyle() const { return 0; }
    // The system's own handling of a message (what is left when a window does not
    // handle it): system commands, closing, hit testing.
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);

    // For the hosting widget: a Qt event to translate. True when consumed.
    bool HostEvent(QEvent* event);
    // For the hosting widget: it is being destroyed by Qt (its parent went away).
    void HostDestroyed();
    // The window moved between parents (SetParent).
    void ParentChanged();

protected:
    // After the window is gone; the last message a window object receives.
    virtual void OnFinalMessage(HWND hWnd);
    // Sees input messages before HandleMessage; true stops them.
    virtual bool PreTranslate(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    void DestroyWindow();

private:
    struct ModalState;
    bool MousePress(QEvent* event, bool doubleClick);
    // What the pointer at global is over, and the window (frame) a press there moves or resizes:
    // null for the client area.
    LRESULT FrameHitTest(QPoint global, QWidget*& frame);
    void ApplyMinMax();
    void Detach();

    HWND m_hWnd = nullptr;
    HWND m_owner = nullptr;
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    std::map<UINT, QTimer*> m_timers;
    ModalState* m_modal = nullptr;
    PaintContext* m_paint = nullptr;
    mirado::WindowDragger* m_dragger = nullptr;
};
