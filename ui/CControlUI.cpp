#include "CControlUI.h"

#include "CPaintManagerUI.h"
#include "SkinPainter.h"
#include "SkinValue.h"

#include <QPainter>
#include <QRegularExpression>

using mirado::SkinPainter;

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    if (m_pManager)
        m_pManager->ReapControl(this);
}

const char16_t* CControlUI::GetClass() const
{
    return u"ControlUI";
}

CDuiString CControlUI::GetText() const
{
    return m_sText;
}

void CControlUI::SetText(const CDuiString& text)
{
    if (m_sText == text)
        return;
    m_sText = text;
    Invalidate();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent)
{
    m_pManager = manager;
    m_pParent = parent;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    if (rc == m_rcItem)
        return;
    Invalidate();
    m_rcItem = rc;
    Invalidate();
}

void CControlUI::SetPadding(RECT rc)
{
    m_rcPadding = rc;
    NeedParentUpdate();
}

void CControlUI::SetFixedWidth(int cx)
{
    m_cxyFixed.cx = std::max(cx, 0);
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy)
{
    m_cxyFixed.cy = std::max(cy, 0);
    NeedParentUpdate();
}

SIZE CControlUI::EstimateSize(SIZE)
{
    return m_cxyFixed;
}

void CControlUI::SetVisible(bool visible)
{
    if (m_bVisible == visible)
        return;
    const bool wasVisible = IsVisible();
    m_bVisible = visible;
    if (wasVisible != IsVisible())
        NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible)
{
    m_bInternVisible = visible;
}

void CControlUI::SetEnabled(bool enabled)
{
    if (m_bEnabled == enabled)
        return;
    m_bEnabled = enabled;
    if (!enabled)
        m_uButtonState &= ~(UISTATE_HOT | UISTATE_PUSHED | UISTATE_CAPTURED);
    Invalidate();
}

bool CControlUI::IsFocused() const
{
    return m_pManager && m_pManager->GetFocus() == this;
}

UINT CControlUI::LookState() const
{
    return m_uButtonState | (IsEnabled() ? 0 : UISTATE_DISABLED) | (IsFocused() ? UISTATE_FOCUSED : 0);
}

void CControlUI::SetFocus()
{
    if (m_pManager)
        m_pManager->SetFocus(this);
}

void CControlUI::SetBkColor(DWORD argb)
{
    m_dwBackColor = argb;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD argb)
{
    m_dwBorderColor = argb;
    Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    m_nBorderSize = std::max(size, 0);
    Invalidate();
}

void CControlUI::SetBkImage(const QString& attribute)
{
    m_sBkImage = attribute;
    Invalidate();
}

void CControlUI::Invalidate()
{
    if (m_pManager && IsVisible() && !m_rcItem.isEmpty())
        m_pManager->Invalidate(m_rcItem);
}

void CControlUI::NeedParentUpdate()
{
    if (m_pManager)
        m_pManager->NeedUpdate();
}

void CControlUI::NeedUpdate()
{
    if (m_pManager)
        m_pManager->NeedUpdate();
}

void CControlUI::SetAttribute(const QString& name, const QString& value)
{
    using namespace mirado;
    const QString n = name.toLower();
    if (n == u"name")
        m_sName = value;
    else if (n == u"text")
        SetText(value);
    else if (n == u"tooltip")
        m_sToolTip = value;
    else if (n == u"userdata")
        m_sUserData = value;
    else if (n == u"pos") {
        m_rcFloat = parseRect(value);
        m_cxyFixed = {m_rcFloat.width(), m_rcFloat.height()};
    } else if (n == u"float")
        m_bFloat = parseBool(value);
    else if (n == u"padding")
        m_rcPadding = parseRect(value);
    else if (n == u"width")
        m_cxyFixed.cx = std::max(parseInt(value), 0);
    else if (n == u"height")
        m_cxyFixed.cy = std::max(parseInt(value), 0);
    else if (n == u"minwidth")
        m_cxyMin.cx = std::max(parseInt(value), 0);
    else if (n == u"minheight")
        m_cxyMin.cy = std::max(parseInt(value), 0);
    else if (n == u"maxwidth")
        m_cxyMax.cx = std::max(parseInt(value), 0);
    else if (n == u"maxheight")
        m_cxyMax.cy = std::max(parseInt(value), 0);
    else if (n == u"bkcolor") {
        if (auto c = parseColor(value))
            m_dwBackColor = *c;
    } else if (n == u"bordercolor") {
        if (auto c = parseColor(value))
            m_dwBorderColor = *c;
    } else if (n == u"focusbordercolor") {
        if (auto c = parseColor(value))
            m_dwFocusBorderColor = *c;
    } else if (n == u"bordersize")
        m_nBorderSize = std::max(parseInt(value), 0);
    else if (n == u"borderround" || n == u"rounded")
        m_cxyBorderRound = parseSize(value);
    else if (n == u"bkimage")
        m_sBkImage = value;
    else if (n == u"visible")
        SetVisible(parseBool(value));
    else if (n == u"enabled")
        SetEnabled(parseBool(value));
    else if (n == u"mouse")
        m_bMouseEnabled = parseBool(value);
    else if (n == u"tag")
        m_tag = static_cast<std::uintptr_t>(parseInt(value));
    // Anything else is not ours: unknown attributes are ignored so that skins can
    // carry settings for other versions of the framework.
}

void CControlUI::ApplyAttributeList(const QString& list)
{
    static const QRegularExpression pair(QStringLiteral(R"re(([A-Za-z0-9_]+)\s*=\s*"([^"]*)")re"));
    auto it = pair.globalMatch(list);
    while (it.hasNext()) {
        const auto m = it.next();
        SetAttribute(m.captured(1), m.captured(2));
    }
}

CControlUI* CControlUI::FindControlAt(POINT pt)
{
    if (!IsVisible() || !m_bMouseEnabled || !m_rcItem.contains(pt))
        return nullptr;
    return this;
}

bool CControlUI::Visit(const std::function<bool(CControlUI*)>& f)
{
    return f(this);
}

void CControlUI::DoEvent(TEventUI& event)
{
    // Wheel turns that nobody here wants go to the holder (a list, say).
    if (event.Type == UIEVENT_SCROLLWHEEL && m_pParent)
        m_pParent->DoEvent(event);
}

void CControlUI::DoPaint(QPainter& p, const RECT&)
{
    PaintBkColor(p);
    PaintBkImage(p);
    PaintStatusImage(p);
    PaintText(p);
    PaintBorder(p);
}

void CControlUI::PaintBkColor(QPainter& p)
{
    SkinPainter::fill(p, m_rcItem, m_dwBackColor);
}

void CControlUI::PaintBkImage(QPainter& p)
{
    DrawImage(p, m_sBkImage);
}

void CControlUI::PaintStatusImage(QPainter&) {}

void CControlUI::PaintText(QPainter&) {}

void CControlUI::PaintBorder(QPainter& p)
{
    const DWORD colour = (IsFocused() && m_dwFocusBorderColor) ? m_dwFocusBorderColor : m_dwBorderColor;
    SkinPainter::border(p, m_rcItem, m_nBorderSize, colour, m_cxyBorderRound);
}

void CControlUI::DrawImage(QPainter& p, const QString& attribute, const RECT* rc)
{
    if (!m_pManager || attribute.isEmpty())
        return;
    SkinPainter::image(p, m_pManager->Images(), rc ? *rc : m_rcItem, attribute);
}

QFont CControlUI::FontFor(int index) const
{
    return m_pManager ? m_pManager->GetFont(index) : QFont();
}

void CControlUI::Notify(const char16_t* type, WPARAM wParam, LPARAM lParam)
{
    if (m_pManager)
        m_pManager->SendNotify(this, type, wParam, lParam);
}
