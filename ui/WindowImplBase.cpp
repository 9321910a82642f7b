#include "WindowImplBase.h"

#include "CControlUI.h"
#include "CDialogBuilder.h"
#include "SkinResources.h"
#include "WindowApi.h"
#include "ZipSkinStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtDebug>

using namespace mirado;

WindowImplBase::~WindowImplBase()
{
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    bool bHandled = true;
    switch (uMsg) {
    case WM_CREATE: lRes = OnCreate(uMsg, wParam, lParam, bHandled); break;
    case WM_CLOSE: lRes = OnClose(uMsg, wParam, lParam, bHandled); break;
    case WM_DESTROY: lRes = OnDestroy(uMsg, wParam, lParam, bHandled); break;
    case WM_NCACTIVATE: lRes = OnNcActivate(uMsg, wParam, lParam, bHandled); break;
    case WM_NCCALCSIZE: lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled); break;
    case WM_NCPAINT: lRes = OnNcPaint(uMsg, wParam, lParam, bHandled); break;
    case WM_NCHITTEST: lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled); break;
    case WM_GETMINMAXINFO: lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEWHEEL: lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEHOVER: lRes = OnMouseHover(uMsg, wParam, lParam, bHandled); break;
    case WM_SIZE: lRes = OnSize(uMsg, wParam, lParam, bHandled); break;
    case WM_CHAR: lRes = OnChar(uMsg, wParam, lParam, bHandled); break;
    case WM_SYSCOMMAND: lRes = OnSysCommand(uMsg, wParam, lParam, bHandled); break;
    case WM_KEYDOWN: lRes = OnKeyDown(uMsg, wParam, lParam, bHandled); break;
    case WM_KILLFOCUS: lRes = OnKillFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_SETFOCUS: lRes = OnSetFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONDOWN: lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONUP: lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEMOVE: lRes = OnMouseMove(uMsg, wParam, lParam, bHandled); break;
    default: bHandled = false; break;
    }
    if (bHandled)
        return lRes;
    bHandled = false;
    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled)
        return lRes;
    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes))
        return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    if (msg.sType == u"click")
        OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI&) {}

CControlUI* WindowImplBase::CreateControl(const CDuiString&)
{
    return nullptr;
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        bHandled = ResponseDefaultKeyEvent(wParam) != 0;
    return 0;
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) {
        Close(IDCANCEL);
        return 1;
    }
    return 0;
}

bool WindowImplBase::PreTranslate(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    return m_PaintManager.PreMessageHandler(uMsg, wParam, lParam, lRes);
}

void WindowImplBase::OnFinalMessage(HWND)
{
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = true;
    m_createError.clear();
    std::shared_ptr<SkinStore> store;
    switch (SkinResourceKind()) {
    case UILIB_ZIPRESOURCE:
    case UILIB_RESOURCE:
        store = SkinResources::zipResource(SkinResourceId());
        break;
    case UILIB_ZIP:
        store = ZipSkinStore::fromFile(GetZIPFileName().toQString());
        break;
    case UILIB_FILE:
        store = SkinResources::current();
        break;
    }
    if (!store) {
        m_createError = QStringLiteral("the skin archive of %1 cannot be opened").arg(QString::fromUtf16(ClassNameOfWindow()));
        qWarning("%s", qPrintable(m_createError));
        return -1;
    }
    // The archive a window loads from becomes the one "plain file" skins read.
    SkinResources::setCurrent(store);
    m_PaintManager.Init(GetHWND());
    m_PaintManager.SetSkinStore(store);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(SkinFolderName(), SkinFileName(), this, &m_PaintManager);
    if (!root) {
        m_createError = builder.GetLastError();
        qWarning("%s", qPrintable(m_createError));
        return -1;
    }
    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);
    m_PaintManager.AddPreMessageFilter(this);
    const SIZE init = m_PaintManager.GetInitSize();
    if (init.cx > 0 && init.cy > 0)
        GetHWND()->resize(init.cx, init.cy);
    PrepareControls();
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool& bHandled)
{
    bHandled = true;
    HWND hWnd = GetHWND();
    const QPoint local = hWnd->mapFromGlobal(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    const POINT pt{local.x(), local.y()};
    const RECT client{0, 0, hWnd->width(), hWnd->height()};

    if (!IsZoomed(hWnd)) {
        const RECT box = m_PaintManager.GetSizeBox();
        const int innerLeft = client.left + box.left;
        const int innerTop = client.top + box.top;
        const int innerRight = client.right - box.right;
        const int innerBottom = client.bottom - box.bottom;
        if (pt.y < innerTop) {
            if (pt.x < innerLeft)
                return HTTOPLEFT;
            if (pt.x >= innerRight)
                return HTTOPRIGHT;
            return HTTOP;
        }
        // A border of width n covers the last n pixels: x >= width - n.
        if (pt.y >= innerBottom) {
            if (pt.x < innerLeft)
                return HTBOTTOMLEFT;
            if (pt.x >= innerRight)
                return HTBOTTOMRIGHT;
            return HTBOTTOM;
        }
        if (pt.x < innerLeft)
            return HTLEFT;
        if (pt.x >= innerRight)
            return HTRIGHT;
    }

    const RECT caption = m_PaintManager.GetCaptionRect();
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top && pt.y < caption.bottom) {
        CControlUI* control = m_PaintManager.FindControl(pt);
        if (control) {
            static const char16_t* const inputClasses[] = {u"ButtonUI", u"OptionUI", u"TextUI", u"RemoveButtonUI", u"CheckBoxUI",
                                                          u"EditUI", u"ComboUI", u"SliderUI", u"ListUI", u"ScrollBarUI"};
            const QString cls = QString::fromUtf16(control->GetClass());
            bool takesInput = false;
            for (const char16_t* name : inputClasses)
                takesInput = takesInput || cls.compare(QString::fromUtf16(name), Qt::CaseInsensitive) == 0;
            if (!takesInput)
                return HTCAPTION;
        }
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& bHandled)
{
    bHandled = false;
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!info)
        return 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        info->ptMaxPosition = POINT{avail.x(), avail.y()};
        info->ptMaxSize = POINT{avail.width(), avail.height()};
    }
    const SIZE minInfo = m_PaintManager.GetMinInfo();
    if (minInfo.cx > 0 && minInfo.cy > 0)
        info->ptMinTrackSize = POINT{minInfo.cx, minInfo.cy};
    const SIZE maxInfo = m_PaintManager.GetMaxInfo();
    if (maxInfo.cx > 0 && maxInfo.cy > 0)
        info->ptMaxTrackSize = POINT{maxInfo.cx, maxInfo.cy};
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    bHandled = true;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// The remaining slots do nothing themselves: the control tree and the system's own
// handling take the message.
#define MIRADO_PASS_SLOT(slot)                                                                                         \
    LRESULT WindowImplBase::slot(UINT, WPARAM, LPARAM, bool& bHandled)                                                 \
    {                                                                                                                  \
        bHandled = false;                                                                                              \
        return 0;                                                                                                      \
    }
MIRADO_PASS_SLOT(OnClose)
MIRADO_PASS_SLOT(OnDestroy)
MIRADO_PASS_SLOT(OnNcActivate)
MIRADO_PASS_SLOT(OnNcCalcSize)
MIRADO_PASS_SLOT(OnNcPaint)
MIRADO_PASS_SLOT(OnMouseWheel)
MIRADO_PASS_SLOT(OnMouseHover)
MIRADO_PASS_SLOT(OnSize)
MIRADO_PASS_SLOT(OnChar)
MIRADO_PASS_SLOT(OnKeyDown)
MIRADO_PASS_SLOT(OnKillFocus)
MIRADO_PASS_SLOT(OnSetFocus)
MIRADO_PASS_SLOT(OnLButtonDown)
MIRADO_PASS_SLOT(OnLButtonUp)
MIRADO_PASS_SLOT(OnMouseMove)
MIRADO_PASS_SLOT(HandleCustomMessage)
#undef MIRADO_PASS_SLOT
