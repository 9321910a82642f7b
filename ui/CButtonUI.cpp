#include "CButtonUI.h"

#include "PressTracking.h"
#include "SkinPainter.h"
#include "SkinValue.h"

using namespace mirado;

void CButtonUI::SetNormalImage(const QString& attribute)
{
    m_images.normal = attribute;
    Invalidate();
}

void CButtonUI::SetHotImage(const QString& attribute)
{
    m_images.hot = attribute;
    Invalidate();
}

void CButtonUI::SetPushedImage(const QString& attribute)
{
    m_images.pushed = attribute;
    Invalidate();
}

void CButtonUI::SetDisabledImage(const QString& attribute)
{
    m_images.disabled = attribute;
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
    const PressTracking press = trackPress(*this, m_uButtonState, event);
    if (press.step == PressStep::NotMine) {
        CLabelUI::DoEvent(event);
    } else if (press.step == PressStep::Drag) {
        // Pushed (and hot) only while the pointer is still over the button.
        const UINT before = m_uButtonState;
        m_uButtonState = press.inside ? (m_uButtonState | UISTATE_PUSHED | UISTATE_HOT)
                                      : (m_uButtonState & ~(UISTATE_PUSHED | UISTATE_HOT));
        if (before != m_uButtonState)
            Invalidate();
    } else if (press.step == PressStep::Release && press.inside) {
        Activate();
    }
}

void CButtonUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (m_images.apply(n, value))
        return;
    if (n == u"foreimage")
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
    DrawImage(p, m_images.choose(LookState()));
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
