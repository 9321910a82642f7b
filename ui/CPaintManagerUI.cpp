#include "CPaintManagerUI.h"

#include "CControlUI.h"
#include "FontSubstitution.h"
#include "SkinPainter.h"
#include "WindowApi.h"

#include <QPainter>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

namespace {
void* g_instance = nullptr;
} // namespace

CPaintManagerUI::CPaintManagerUI()
{
    mirado::installFontSubstitutions();
}

CPaintManagerUI::~CPaintManagerUI()
{
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
}

void CPaintManagerUI::SetInstance(void* instance)
{
    g_instance = instance;
}

void* CPaintManagerUI::GetInstance()
{
    return g_instance;
}

int CPaintManagerUI::MessageLoop()
{
    return mirado::runMessageLoop();
}

void CPaintManagerUI::Init(HWND hWnd)
{
    m_hWnd = hWnd;
    if (hWnd)
        m_images.setDevicePixelRatio(hWnd->devicePixelRatioF());
}

void CPaintManagerUI::SetSkinStore(std::shared_ptr<mirado::SkinStore> store)
{
    m_store = store;
    m_images.setStore(std::move(store));
}

bool CPaintManagerUI::AttachDialog(CControlUI* root)
{
    if (!root)
        return false;
    delete m_pRoot;
    m_pRoot = root;
    root->SetManager(this, nullptr);
    root->DoInit();
    NeedUpdate();
    return true;
}

CControlUI* CPaintManagerUI::FindControl(const CDuiString& name) const
{
    CControlUI* found = nullptr;
    if (name.IsEmpty())
        return nullptr;
    VisitControls([&](CControlUI* c) {
        if (c->GetName() == name) {
            found = c;
            return false;
        }
        return true;
    });
    return found;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    return m_pRoot ? m_pRoot->FindControlAt(pt) : nullptr;
}

void CPaintManagerUI::VisitControls(const std::function<bool(CControlUI*)>& f) const
{
    if (m_pRoot)
        m_pRoot->Visit(f);
}

void CPaintManagerUI::AddFont(int index, const QFont& font, bool isDefault)
{
    m_fonts[index] = font;
    if (isDefault)
        m_defaultFont = font;
}

QFont CPaintManagerUI::GetFont(int index) const
{
    const auto it = m_fonts.find(index);
    return it == m_fonts.end() ? m_defaultFont : it->second;
}

void CPaintManagerUI::AddDefaultAttributeList(const QString& controlTag, const QString& list)
{
    m_defaultAttributes.insert(controlTag.toLower(), list);
}

QString CPaintManagerUI::GetDefaultAttributeList(const QString& controlTag) const
{
    return m_defaultAttributes.value(controlTag.toLower());
}

void CPaintManagerUI::AddNotifier(INotifyUI* notifier)
{
    if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end())
        m_notifiers.push_back(notifier);
}

void CPaintManagerUI::RemoveNotifier(INotifyUI* notifier)
{
    std::erase(m_notifiers, notifier);
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const char16_t* type, WPARAM wParam, LPARAM lParam)
{
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.dwTimestamp = GetTickCount();
    if (m_hWnd) {
        const QPoint cursor = m_hWnd->mapFromGlobal(QCursor::pos());
        msg.ptMouse = POINT{cursor.x(), cursor.y()};
    }
    msg.wParam = wParam;
    msg.lParam = lParam;
    // A notifier may unregister (or close its window) while being told.
    const std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* notifier : notifiers) {
        if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end())
            notifier->Notify(msg);
    }
}

void CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* filter)
{
    if (std::find(m_preFilters.begin(), m_preFilters.end(), filter) == m_preFilters.end())
        m_preFilters.push_back(filter);
}

void CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter)
{
    std::erase(m_preFilters, filter);
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    const std::vector<IMessageFilterUI*> filters = m_preFilters;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        const LRESULT r = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (handled) {
            lRes = r;
            return true;
        }
    }
    return false;
}

DWORD CPaintManagerUI::CurrentTime() const
{
    return GetTickCount();
}

void CPaintManagerUI::Dispatch(CControlUI* control, int type, POINT pt, WPARAM wParam)
{
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = CurrentTime();
    event.ptMouse = pt;
    event.wParam = wParam;
    control->DoEvent(event);
}

void CPaintManagerUI::SetHover(CControlUI* control, POINT pt)
{
    if (control == m_pHover)
        return;
    CControlUI* old = m_pHover;
    m_pHover = control;
    if (old)
        Dispatch(old, UIEVENT_MOUSELEAVE, pt);
    if (m_pHover == control && control)
        Dispatch(control, UIEVENT_MOUSEENTER, pt);
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (!m_hWnd || !m_pRoot)
        return false;
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The pointer must meet the controls where they now are, even when a change
    // (a page shown, a row added) has not been painted yet.
    if (uMsg == WM_MOUSEMOVE || uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONDBLCLK || uMsg == WM_MOUSEWHEEL ||
        uMsg == WM_MOUSEHOVER)
        UpdateLayout();
    switch (uMsg) {
    case WM_PAINT: {
        auto* context = reinterpret_cast<PaintContext*>(lParam);
        if (context && context->painter && !context->validated)
            Paint(*context);
        lRes = 0;
        return true;
    }
    case WM_SIZE:
        NeedUpdate();
        UpdateLayout();
        return false;
    case WM_MOUSEMOVE:
        if (m_pCapture) {
            Dispatch(m_pCapture, UIEVENT_MOUSEMOVE, pt);
        } else {
            SetHover(FindControl(pt), pt);
            if (m_pHover)
                Dispatch(m_pHover, UIEVENT_MOUSEMOVE, pt);
        }
        return false;
    case WM_MOUSELEAVE:
        if (!m_pCapture)
            SetHover(nullptr, pt);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        CControlUI* control = FindControl(pt);
        SetHover(control, pt);
        if (!control || !control->IsEnabled()) {
            SetFocus(nullptr);
            return false;
        }
        // A click focuses the control, or what holds it (a row focuses its list).
        CControlUI* focus = control;
        while (focus && !focus->WantsFocus())
            focus = focus->GetParent();
        SetFocus(focus);
        if (FindControl(pt) != control)
            return false; // the focus change took the control away
        m_pCapture = control;
        Dispatch(control, uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK, pt);
        return false;
    }
    case WM_LBUTTONUP:
        if (CControlUI* control = m_pCapture) {
            m_pCapture = nullptr;
            Dispatch(control, UIEVENT_BUTTONUP, pt);
            if (m_pCapture == nullptr && m_hWnd)
                SetHover(FindControl(pt), pt);
        }
        return false;
    case WM_MOUSEWHEEL: {
        const QPoint local = m_hWnd->mapFromGlobal(QPoint(pt.x, pt.y));
        const POINT at{local.x(), local.y()};
        if (CControlUI* control = FindControl(at)) {
            const auto delta = static_cast<std::int16_t>(HIWORD(wParam));
            Dispatch(control, UIEVENT_SCROLLWHEEL, at, static_cast<WPARAM>(static_cast<std::intptr_t>(delta)));
        }
        return false;
    }
    case WM_KEYDOWN:
        if (m_pFocus)
            Dispatch(m_pFocus, UIEVENT_KEYDOWN, pt, wParam);
        return false;
    case WM_MOUSEHOVER:
        ShowToolTip(pt);
        return false;
    default:
        return false;
    }
}

void CPaintManagerUI::ShowToolTip(POINT pt)
{
    CControlUI* control = FindControl(pt);
    const QString text = control ? control->GetToolTip().toQString() : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    const RECT& rc = control->GetPos();
    QToolTip::showText(m_hWnd->mapToGlobal(QPoint(pt.x, pt.y)), text, m_hWnd, QRect(rc.left, rc.top, rc.width(), rc.height()));
}

void CPaintManagerUI::SetFocus(CControlUI* control)
{
    if (control == m_pFocus)
        return;
    CControlUI* old = m_pFocus;
    m_pFocus = control;
    // Keys go to the window unless a hosted edit takes the focus in its SETFOCUS.
    if (m_hWnd && m_hWnd->isVisible())
        m_hWnd->setFocus(Qt::OtherFocusReason);
    if (old && m_pFocus == control)
        Dispatch(old, UIEVENT_KILLFOCUS, {});
    if (control && m_pFocus == control)
        Dispatch(control, UIEVENT_SETFOCUS, {});
}

void CPaintManagerUI::FocusTakenBy(CControlUI* control)
{
    if (control == m_pFocus)
        return;
    CControlUI* old = m_pFocus;
    m_pFocus = control;
    if (old)
        Dispatch(old, UIEVENT_KILLFOCUS, {});
    if (control && m_pFocus == control)
        Dispatch(control, UIEVENT_SETFOCUS, {});
}

void CPaintManagerUI::Invalidate(const RECT& rc)
{
    if (m_hWnd && !m_bPainting)
        m_hWnd->update(QRect(rc.left, rc.top, rc.width(), rc.height()));
}

void CPaintManagerUI::NeedUpdate()
{
    m_bLayoutNeeded = true;
    if (m_hWnd && !m_bPainting)
        m_hWnd->update();
}

void CPaintManagerUI::UpdateLayout()
{
    if (!m_bLayoutNeeded || !m_pRoot || !m_hWnd)
        return;
    m_bLayoutNeeded = false;
    m_pRoot->SetPos(RECT{0, 0, m_hWnd->width(), m_hWnd->height()});
}

void CPaintManagerUI::Paint(PaintContext& context)
{
    m_bPainting = true;
    const bool relaid = m_bLayoutNeeded;
    UpdateLayout();
    RECT dirty = context.dirty;
    if (relaid)
        dirty = RECT{0, 0, m_hWnd->width(), m_hWnd->height()};
    QPainter& p = *context.painter;
    p.setClipRect(QRect(dirty.left, dirty.top, dirty.width(), dirty.height()));
    mirado::SkinPainter::fill(p, dirty, m_dwBackground);
    m_pRoot->DoPaint(p, dirty);
    m_bPainting = false;
}

void CPaintManagerUI::ReapControl(CControlUI* control)
{
    if (m_pFocus == control)
        m_pFocus = nullptr;
    if (m_pHover == control)
        m_pHover = nullptr;
    if (m_pCapture == control)
        m_pCapture = nullptr;
}
