#include "CScrollBarUI.h"

#include "SkinPainter.h"
#include "SkinValue.h"

#include <QPainter>
#include <QPolygonF>
#include <QTimer>

using namespace mirado;

namespace {
constexpr int kMinThumb = 16;
constexpr int kDefaultThickness = 12;
// A held arrow or track waits a moment before it repeats, then repeats quickly.
constexpr int kRepeatDelayMs = 350;
constexpr int kRepeatIntervalMs = 50;
} // namespace

CScrollBarUI::CScrollBarUI(bool horizontal) : m_bHorizontal(horizontal)
{
    m_dwBackColor = 0x20000000;
}

CScrollBarUI::~CScrollBarUI() = default;

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

int CScrollBarUI::ButtonLength() const
{
    // Square buttons while they fit; a bar too short for both shares itself between them.
    const int bar = m_bHorizontal ? m_rcItem.width() : m_rcItem.height();
    const int shown = (m_button1.isShown() ? 1 : 0) + (m_button2.isShown() ? 1 : 0);
    if (shown == 0)
        return 0;
    return std::min(GetThickness(), bar / shown);
}

RECT CScrollBarUI::GetButton1Rect() const
{
    const int len = m_button1.isShown() ? ButtonLength() : 0;
    if (m_bHorizontal)
        return RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left + len, m_rcItem.bottom};
    return RECT{m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.top + len};
}

RECT CScrollBarUI::GetButton2Rect() const
{
    const int len = m_button2.isShown() ? ButtonLength() : 0;
    if (m_bHorizontal)
        return RECT{m_rcItem.right - len, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    return RECT{m_rcItem.left, m_rcItem.bottom - len, m_rcItem.right, m_rcItem.bottom};
}

RECT CScrollBarUI::GetTrackRect() const
{
    const RECT b1 = GetButton1Rect();
    const RECT b2 = GetButton2Rect();
    if (m_bHorizontal)
        return RECT{b1.right, m_rcItem.top, std::max(b2.left, b1.right), m_rcItem.bottom};
    return RECT{m_rcItem.left, b1.bottom, m_rcItem.right, std::max(b2.top, b1.bottom)};
}

RECT CScrollBarUI::GetThumbRect() const
{
    const RECT track = GetTrackRect();
    const int rail = m_bHorizontal ? track.width() : track.height();
    const long long total = static_cast<long long>(m_nRange) + m_nPage;
    int length = total > 0 ? static_cast<int>(static_cast<long long>(rail) * m_nPage / total) : rail;
    length = std::clamp(length, std::min(kMinThumb, rail), rail);
    const int travel = rail - length;
    const int offset = m_nRange > 0 ? static_cast<int>(static_cast<long long>(travel) * m_nPos / m_nRange) : 0;
    if (m_bHorizontal)
        return RECT{track.left + offset, track.top, track.left + offset + length, track.bottom};
    return RECT{track.left, track.top + offset, track.right, track.top + offset + length};
}

CScrollBarUI::Part CScrollBarUI::PartAt(POINT pt) const
{
    if (!m_rcItem.contains(pt))
        return Part::None;
    if (GetButton1Rect().contains(pt))
        return Part::Button1;
    if (GetButton2Rect().contains(pt))
        return Part::Button2;
    const RECT thumb = GetThumbRect();
    if (thumb.contains(pt))
        return Part::Thumb;
    if (!GetTrackRect().contains(pt))
        return Part::None;
    const int along = m_bHorizontal ? pt.x : pt.y;
    return along < (m_bHorizontal ? thumb.left : thumb.top) ? Part::TrackBefore : Part::TrackAfter;
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

bool CScrollBarUI::Step(Part part)
{
    const int before = m_nPos;
    switch (part) {
    case Part::Button1: MoveTo(m_nPos - m_nLineSize); break;
    case Part::Button2: MoveTo(m_nPos + m_nLineSize); break;
    case Part::TrackBefore: MoveTo(m_nPos - m_nPage); break;
    case Part::TrackAfter: MoveTo(m_nPos + m_nPage); break;
    default: break;
    }
    return m_nPos != before;
}

void CScrollBarUI::Repeat()
{
    if (m_repeat->interval() != kRepeatIntervalMs)
        m_repeat->start(kRepeatIntervalMs);
    // Like any scroll bar: a held part acts only while the pointer is still over it,
    // so a held track stops once the thumb has reached the pointer.
    if (PartAt(m_ptLast) == m_pressed && !Step(m_pressed))
        StopRepeat();
}

void CScrollBarUI::StopRepeat()
{
    if (m_repeat)
        m_repeat->stop();
}

void CScrollBarUI::SetHotPart(Part part)
{
    if (part == m_hot)
        return;
    m_hot = part;
    Invalidate();
}

UINT CScrollBarUI::PartState(Part part) const
{
    return (m_pressed == part ? UISTATE_PUSHED : 0) | (m_hot == part ? UISTATE_HOT : 0);
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    if (!IsEnabled() && event.Type != UIEVENT_SCROLLWHEEL) {
        CControlUI::DoEvent(event);
        return;
    }
    const int along = m_bHorizontal ? event.ptMouse.x : event.ptMouse.y;
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
        m_ptLast = event.ptMouse;
        m_pressed = PartAt(event.ptMouse);
        m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        if (m_pressed == Part::Thumb) {
            const RECT thumb = GetThumbRect();
            m_nDragOffset = along - (m_bHorizontal ? thumb.left : thumb.top);
        } else if (Step(m_pressed)) {
            if (!m_repeat) {
                m_repeat = std::make_unique<QTimer>();
                QObject::connect(m_repeat.get(), &QTimer::timeout, [this] { Repeat(); });
            }
            m_repeat->start(kRepeatDelayMs);
        }
        Invalidate();
        return;
    }
    case UIEVENT_MOUSEMOVE:
        m_ptLast = event.ptMouse;
        if (m_pressed == Part::Thumb) {
            const RECT track = GetTrackRect();
            const RECT thumb = GetThumbRect();
            const int travel = m_bHorizontal ? track.width() - thumb.width() : track.height() - thumb.height();
            const int start = m_bHorizontal ? track.left : track.top;
            if (travel > 0)
                MoveTo(static_cast<int>(static_cast<long long>(along - m_nDragOffset - start) * m_nRange / travel));
        } else if (!(m_uButtonState & UISTATE_CAPTURED)) {
            SetHotPart(PartAt(event.ptMouse));
        }
        return;
    case UIEVENT_BUTTONUP:
        StopRepeat();
        m_pressed = Part::None;
        m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        m_hot = PartAt(event.ptMouse);
        Invalidate();
        return;
    case UIEVENT_MOUSEENTER:
        m_uButtonState |= UISTATE_HOT;
        SetHotPart(PartAt(event.ptMouse));
        return;
    case UIEVENT_MOUSELEAVE:
        m_uButtonState &= ~UISTATE_HOT;
        SetHotPart(Part::None);
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
    // button1normalimage, button2hotimage, ...: the arrows' looks by state.
    if (m_button1.images.apply(n, value, u"button1") || m_button2.images.apply(n, value, u"button2") ||
        m_thumb.apply(n, value, u"thumb"))
        return;
    if (n == u"showbutton1")
        m_button1.shown = parseBool(value) ? 1 : 0;
    else if (n == u"showbutton2")
        m_button2.shown = parseBool(value) ? 1 : 0;
    else if (n == u"thumbcolor") {
        if (auto c = parseColor(value))
            m_dwThumbColor = *c;
    } else if (n == u"thumbhotcolor") {
        if (auto c = parseColor(value))
            m_dwThumbHotColor = *c;
    } else if (n == u"thumbimage")
        m_thumb.normal = value;
    else if (n == u"railimage")
        m_sRailImage = value;
    else
        CControlUI::SetAttribute(name, value);
}

void CScrollBarUI::PaintBkImage(QPainter& p)
{
    CControlUI::PaintBkImage(p);
    const RECT track = GetTrackRect();
    DrawImage(p, m_sRailImage, &track);
}

void CScrollBarUI::PaintButton(QPainter& p, Part part, const RECT& rc, const ButtonLook& look, bool atEnd)
{
    if (rc.isEmpty())
        return;
    const QString& image = look.images.choose(PartState(part) | (!IsEnabled() || atEnd ? UISTATE_DISABLED : 0));
    if (!image.isEmpty()) {
        DrawImage(p, image, &rc);
        return;
    }
    // Shown without images: a plain button with an arrow in the thumb's colours.
    const bool lit = !atEnd && PartState(part) != 0;
    SkinPainter::fill(p, rc, lit ? m_dwThumbHotColor : m_dwThumbColor);
    const qreal cx = rc.left + rc.width() / 2.0;
    const qreal cy = rc.top + rc.height() / 2.0;
    const qreal r = std::min(rc.width(), rc.height()) / 4.0;
    const qreal dir = part == Part::Button1 ? -1 : 1;
    QPolygonF arrow;
    if (m_bHorizontal)
        arrow << QPointF(cx + dir * r, cy) << QPointF(cx - dir * r, cy - r) << QPointF(cx - dir * r, cy + r);
    else
        arrow << QPointF(cx, cy + dir * r) << QPointF(cx - r, cy - dir * r) << QPointF(cx + r, cy - dir * r);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(atEnd ? 0x80404040 : 0xFF404040));
    p.drawPolygon(arrow);
    p.restore();
}

void CScrollBarUI::PaintStatusImage(QPainter& p)
{
    PaintButton(p, Part::Button1, GetButton1Rect(), m_button1, m_nPos <= 0);
    PaintButton(p, Part::Button2, GetButton2Rect(), m_button2, m_nPos >= m_nRange);
    const RECT thumb = GetThumbRect();
    const UINT state = PartState(Part::Thumb);
    const QString& image = m_thumb.choose(state);
    if (image.isEmpty())
        SkinPainter::fill(p, thumb, state & (UISTATE_HOT | UISTATE_PUSHED) ? m_dwThumbHotColor : m_dwThumbColor);
    else
        DrawImage(p, image, &thumb);
}
