#include "CSliderUI.h"

#include "PressTracking.h"
#include "SkinPainter.h"
#include "SkinValue.h"

#include <cmath>

using namespace mirado;

RECT CSliderUI::GetThumbRect() const
{
    const double f = Fraction();
    if (m_bHorizontal) {
        const int travel = std::max(m_rcItem.width() - m_szThumb.cx, 0);
        const int left = m_rcItem.left + int(travel * f + 0.5);
        const int top = m_rcItem.top + (m_rcItem.height() - m_szThumb.cy) / 2;
        return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
    }
    const int travel = std::max(m_rcItem.height() - m_szThumb.cy, 0);
    const int top = m_rcItem.bottom - m_szThumb.cy - int(travel * f + 0.5);
    const int left = m_rcItem.left + (m_rcItem.width() - m_szThumb.cx) / 2;
    return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
}

int CSliderUI::ValueAt(POINT pt) const
{
    // The thumb's centre follows the pointer; its travel is the control less one thumb.
    double f;
    if (m_bHorizontal) {
        const int travel = m_rcItem.width() - m_szThumb.cx;
        f = travel > 0 ? double(pt.x - m_rcItem.left - m_szThumb.cx / 2) / travel : 0.0;
    } else {
        const int travel = m_rcItem.height() - m_szThumb.cy;
        f = travel > 0 ? double(m_rcItem.bottom - pt.y - m_szThumb.cy / 2) / travel : 0.0;
    }
    f = std::clamp(f, 0.0, 1.0);
    return m_nMin + int(std::lround(f * (m_nMax - m_nMin)));
}

void CSliderUI::DoEvent(TEventUI& event)
{
    if (IsEnabled() && event.Type == UIEVENT_SCROLLWHEEL) {
        const int delta = static_cast<int>(static_cast<std::intptr_t>(event.wParam));
        SetValue(m_nValue + (delta > 0 ? m_nStep : -m_nStep));
        Notify(u"valuechanged");
        return;
    }
    switch (trackPress(*this, m_uButtonState, event).step) {
    case PressStep::NotMine:
        CProgressUI::DoEvent(event);
        return;
    case PressStep::Press:
        SetValue(ValueAt(event.ptMouse));
        return;
    case PressStep::Drag: {
        const int before = m_nValue;
        SetValue(ValueAt(event.ptMouse));
        if (before != m_nValue)
            Notify(u"movevaluechanged");
        return;
    }
    case PressStep::Release:
        SetValue(ValueAt(event.ptMouse));
        Notify(u"valuechanged");
        return;
    case PressStep::Nothing:
    case PressStep::Hover:
        return;
    }
}

void CSliderUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (n == u"thumbsize")
        m_szThumb = parseSize(value);
    else if (n == u"thumbimage")
        m_thumb.normal = value;
    else if (m_thumb.apply(n, value, u"thumb"))
        return;
    else if (n == u"thumbcolor") {
        if (auto c = parseColor(value))
            m_dwThumbColor = *c;
    } else if (n == u"step")
        m_nStep = std::max(parseInt(value, 1), 1);
    else
        CProgressUI::SetAttribute(name, value);
}

void CSliderUI::PaintStatusImage(QPainter& p)
{
    CProgressUI::PaintStatusImage(p);
    const RECT thumb = GetThumbRect();
    SkinPainter::fill(p, thumb, m_dwThumbColor);
    DrawImage(p, m_thumb.choose(LookState()), &thumb);
}
