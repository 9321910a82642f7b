#include "CButtonUI.h"

#include "SkinPainter.h"
#include "SkinValue.h"

using namespace mirado;

void CButtonUI::SetNormalImage(const QString& attribute)
{
    m_sNormalImage = attribute;
    Invalidate();
}

void CButtonUI::SetHotImage(const QString& attribute)
{
    m_sHotImage = attribute;
    Invalidate();
}

void CButtonUI::SetPushedImage(const QString& attribute)
{
    m_sPushedImage = attribute;
    Invalidate();
}

void CButtonUI::SetDisabledImage(const QString& attribute)
{
    m_sDisabledImage = attribute;
    Invalidate();
}

bool CButtonUI::Activate()
{
    if (!IsVisible() || !IsEnabled())
        return false;
    Notify(u"click");
    return true;
}

void CButtonUI::DoEvent(TEventUI& event)
{
    if (!IsEnabled()) {
        CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_MOUSEENTER:
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_MOUSELEAVE:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uButtonState & UISTATE_CAPTURED) {
            // Pushed (and hot) only while the pointer is still over the button.
            const bool inside = m_rcItem.contains(event.ptMouse);
            const UINT before = m_uButtonState;
            m_uButtonState = inside ? (m_uButtonState | UISTATE_PUSHED | UISTATE_HOT)
                                    : (m_uButtonState & ~(UISTATE_PUSHED | UISTATE_HOT));
            if (before != m_uButtonState)
                Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if (m_uButtonState & UISTATE_CAPTURED) {
            const bool inside = m_rcItem.contains(event.ptMouse);
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            if (inside)
                Activate();
        }
        return;
    default:
        CLabelUI::DoEvent(event);
    }
}

void CButtonUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (n == u"normalimage")
        m_sNormalImage = value;
    else if (n == u"hotimage")
        m_sHotImage = value;
    else if (n == u"pushedimage")
        m_sPushedImage = value;
    else if (n == u"focusedimage")
        m_sFocusedImage = value;
    else if (n == u"disabledimage")
        m_sDisabledImage = value;
    else if (n == u"foreimage")
        m_sForeImage = value;
    else if (n == u"hotforeimage")
        m_sHotForeImage = value;
    else if (n == u"hotbkcolor") {
        if (auto c = parseColor(value))
            m_dwHotBkColor = *c;
    } else if (n == u"hottextcolor") {
        if (auto c = parseColor(value))
            m_dwHotTextColor = *c;
    } else if (n == u"pushedtextcolor") {
        if (auto c = parseColor(value))
            m_dwPushedTextColor = *c;
    } else if (n == u"focusedtextcolor") {
        if (auto c = parseColor(value))
            m_dwFocusedTextColor = *c;
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CButtonUI::PaintBkColor(QPainter& p)
{
    if ((m_uButtonState & UISTATE_HOT) && m_dwHotBkColor && IsEnabled())
        SkinPainter::fill(p, m_rcItem, m_dwHotBkColor);
    else
        CLabelUI::PaintBkColor(p);
}

void CButtonUI::PaintStatusImage(QPainter& p)
{
    // The most specific look that the skin provides wins; normal is the fallback.
    const QString* chosen = &m_sNormalImage;
    if (!IsEnabled()) {
        if (!m_sDisabledImage.isEmpty())
            chosen = &m_sDisabledImage;
    } else if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedImage.isEmpty()) {
        chosen = &m_sPushedImage;
    } else if ((m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED)) && !m_sHotImage.isEmpty()) {
        chosen = &m_sHotImage;
    } else if (IsFocused() && !m_sFocusedImage.isEmpty()) {
        chosen = &m_sFocusedImage;
    }
    DrawImage(p, *chosen);
    const bool hot = (m_uButtonState & UISTATE_HOT) && IsEnabled();
    DrawImage(p, hot && !m_sHotForeImage.isEmpty() ? m_sHotForeImage : m_sForeImage);
}

DWORD CButtonUI::CurrentTextColor() const
{
    if (IsEnabled()) {
        if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor)
            return m_dwPushedTextColor;
        if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor)
            return m_dwHotTextColor;
        if (IsFocused() && m_dwFocusedTextColor)
            return m_dwFocusedTextColor;
    }
    return CLabelUI::CurrentTextColor();
}
