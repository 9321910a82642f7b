#include "CScrollBarUI.h"

#include "SkinPainter.h"
#include "SkinValue.h"

using namespace mirado;

namespace {
constexpr int kMinThumb = 16;
constexpr int kDefaultThickness = 12;
} // namespace

CScrollBarUI::CScrollBarUI(bool horizontal) : m_bHorizontal(horizontal)
{
    m_dwBackColor = 0x20000000;
}

int CScrollBarUI::GetThickness() const
{
    const int fixed = m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx;
    return fixed > 0 ? fixed : kDefaultThickness;
}

void CScrollBarUI::SetScrollRange(int range, int page)
{
    m_nRange = std::max(range, 0);
    m_nPage = std::max(page, 1);
    m_nPos = std::clamp(m_nPos, 0, m_nRange);
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos)
{
    pos = std::clamp(pos, 0, m_nRange);
    if (pos == m_nPos)
        return;
    m_nPos = pos;
    Invalidate();
}

RECT CScrollBarUI::GetThumbRect() const
{
    const int rail = m_bHorizontal ? m_rcItem.width() : m_rcItem.height();
    const long long total = static_cast<long long>(m_nRange) + m_nPage;
    int length = total > 0 ? static_cast<int>(static_cast<long long>(rail) * m_nPage / total) : rail;
    length = std::clamp(length, std::min(kMinThumb, rail), rail);
    const int travel = rail - length;
    const int offset = m_nRange > 0 ? static_cast<int>(static_cast<long long>(travel) * m_nPos / m_nRange) : 0;
    if (m_bHorizontal)
        return RECT{m_rcItem.left + offset, m_rcItem.top, m_rcItem.left + offset + length, m_rcItem.bottom};
    return RECT{m_rcItem.left, m_rcItem.top + offset, m_rcItem.right, m_rcItem.top + offset + length};
}

void CScrollBarUI::MoveTo(int pos)
{
    pos = std::clamp(pos, 0, m_nRange);
    if (pos == m_nPos)
        return;
    SetScrollPos(pos);
    if (m_onScroll)
        m_onScroll(m_nPos);
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    const RECT thumb = GetThumbRect();
    const int along = m_bHorizontal ? event.ptMouse.x : event.ptMouse.y;
    const int thumbStart = m_bHorizontal ? thumb.left : thumb.top;
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (thumb.contains(event.ptMouse)) {
            m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
            m_nDragOffset = along - thumbStart;
            Invalidate();
        } else {
            MoveTo(m_nPos + (along < thumbStart ? -m_nPage : m_nPage));
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uButtonState & UISTATE_CAPTURED) {
            const int rail = m_bHorizontal ? m_rcItem.width() : m_rcItem.height();
            const int length = m_bHorizontal ? thumb.width() : thumb.height();
            const int travel = rail - length;
            const int start = (m_bHorizontal ? m_rcItem.left : m_rcItem.top);
            if (travel > 0)
                MoveTo(static_cast<int>(static_cast<long long>(along - m_nDragOffset - start) * m_nRange / travel));
        }
        return;
    case UIEVENT_BUTTONUP:
        m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        Invalidate();
        return;
    case UIEVENT_MOUSEENTER:
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_MOUSELEAVE:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_SCROLLWHEEL: {
        const int delta = static_cast<int>(static_cast<std::intptr_t>(event.wParam));
        MoveTo(m_nPos - (delta / 120) * 3 * m_nLineSize);
        return;
    }
    default:
        CControlUI::DoEvent(event);
    }
}

void CScrollBarUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (n == u"thumbcolor") {
        if (auto c = parseColor(value))
            m_dwThumbColor = *c;
    } else if (n == u"thumbhotcolor") {
        if (auto c = parseColor(value))
            m_dwThumbHotColor = *c;
    } else if (n == u"thumbimage" || n == u"thumbnormalimage")
        m_sThumbImage = value;
    else if (n == u"thumbhotimage")
        m_sThumbHotImage = value;
    else if (n == u"thumbpushedimage")
        m_sThumbPushedImage = value;
    else if (n == u"railimage")
        m_sBkImage = value;
    else
        CControlUI::SetAttribute(name, value);
}

void CScrollBarUI::PaintStatusImage(QPainter& p)
{
    const RECT thumb = GetThumbRect();
    const bool hot = m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED);
    const QString& image = (m_uButtonState & UISTATE_PUSHED) && !m_sThumbPushedImage.isEmpty() ? m_sThumbPushedImage
                           : hot && !m_sThumbHotImage.isEmpty()                               ? m_sThumbHotImage
                                                                                              : m_sThumbImage;
    if (image.isEmpty())
        SkinPainter::fill(p, thumb, hot ? m_dwThumbHotColor : m_dwThumbColor);
    else
        DrawImage(p, image, &thumb);
}
