#include "CListUI.h"

#include "CListElementUI.h"
#include "CListHeaderUI.h"
#include "CPaintManagerUI.h"
#include "CScrollBarUI.h"
#include "SkinValue.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

using namespace mirado;

CListUI::CListUI()
    : m_pVScroll(new CScrollBarUI(false)), m_pHScroll(new CScrollBarUI(true))
{
    m_offsets.push_back(0);
    m_pVScroll->SetOnScroll([this](int pos) { SetScrollPos({m_scrollX, pos}); });
    m_pHScroll->SetOnScroll([this](int pos) { SetScrollPos({pos, m_scrollY}); });
}

CListUI::~CListUI()
{
    for (CListElementUI* row : m_rows)
        delete row;
    delete m_pHeader;
    delete m_pVScroll;
    delete m_pHScroll;
}

CControlUI* CListUI::ItemAt(int index) const
{
    return index >= 0 && index < ItemCount() ? m_rows[static_cast<size_t>(index)] : nullptr;
}

bool CListUI::AppendItem(CControlUI* row)
{
    return InsertItemAt(row, ItemCount());
}

bool CListUI::InsertItemAt(CControlUI* control, int index)
{
    auto* row = dynamic_cast<CListElementUI*>(control);
    if (!row || index < 0 || index > ItemCount())
        return false;
    m_rows.insert(m_rows.begin() + index, row);
    row->SetOwner(this);
    row->SetManager(m_pManager, this);
    Renumber(index);
    if (m_iCurSel >= index)
        ++m_iCurSel;
    else if (m_iCurSel < 0 && row->IsInitiallySelected())
        m_iCurSel = index;
    if (index == ItemCount() - 1 && static_cast<int>(m_offsets.size()) == ItemCount())
        m_offsets.push_back(m_offsets.back() + RowSlotHeight(index));
    else
        RebuildOffsets();
    NeedUpdate();
    return true;
}

bool CListUI::RemoveItemAt(int index)
{
    if (index < 0 || index >= ItemCount())
        return false;
    CListElementUI* row = m_rows[static_cast<size_t>(index)];
    m_rows.erase(m_rows.begin() + index);
    delete row;
    Renumber(index);
    RebuildOffsets();
    m_iHot = -1;
    if (index == m_iCurSel) {
        m_iCurSel = -1;
        if (ItemCount() > 0)
            SelectIndex(std::min(index, ItemCount() - 1));
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    NeedUpdate();
    return true;
}

void CListUI::RemoveAllItems()
{
    std::vector<CListElementUI*> rows;
    rows.swap(m_rows);
    for (CListElementUI* row : rows)
        delete row;
    m_offsets.assign(1, 0);
    m_iCurSel = -1;
    m_iHot = -1;
    m_scrollX = m_scrollY = 0;
    NeedUpdate();
}

bool CListUI::SelectIndex(int index, bool takeFocus)
{
    if (index >= ItemCount())
        return false;
    if (takeFocus)
        SetFocus();
    if (index == m_iCurSel)
        return index >= 0;
    const int old = m_iCurSel;
    if (old >= 0)
        m_rows[static_cast<size_t>(old)]->Invalidate();
    m_iCurSel = index < 0 ? -1 : index;
    if (m_iCurSel < 0)
        return false;
    EnsureVisible(m_iCurSel);
    Invalidate();
    Notify(u"itemselect", static_cast<WPARAM>(m_iCurSel), old);
    return true;
}

void CListUI::EnsureVisible(int index)
{
    if (index < 0 || index >= ItemCount() || static_cast<int>(m_offsets.size()) != ItemCount() + 1)
        return;
    const int top = m_offsets[static_cast<size_t>(index)];
    const int bottom = m_offsets[static_cast<size_t>(index) + 1];
    const int view = m_rcBody.height();
    int y = m_scrollY;
    if (top < y)
        y = top;
    else if (bottom > y + view)
        y = bottom - view;
    SetScrollPos({m_scrollX, y});
}

void CListUI::SetTextSource(IListCallbackUI* source)
{
    m_pTextSource = source;
    TextsChanged();
}

void CListUI::TextsChanged()
{
    for (CListElementUI* row : m_rows)
        row->SetMeasuredWidth(-1);
    NeedUpdate();
    Invalidate();
}

SIZE CListUI::GetScrollRange() const
{
    return {std::max(m_contentWidth - m_rcBody.width(), 0), std::max(m_offsets.back() - m_rcBody.height(), 0)};
}

void CListUI::SetScrollPos(SIZE pos)
{
    const SIZE range = GetScrollRange();
    pos.cx = std::clamp(pos.cx, 0, range.cx);
    pos.cy = std::clamp(pos.cy, 0, range.cy);
    if (pos.cx == m_scrollX && pos.cy == m_scrollY)
        return;
    m_scrollX = pos.cx;
    m_scrollY = pos.cy;
    m_pVScroll->SetScrollPos(m_scrollY);
    m_pHScroll->SetScrollPos(m_scrollX);
    if (m_pHeader && !m_bHeaderHidden) {
        RECT h = m_pHeader->GetPos();
        const int width = h.width();
        h.left = m_rcBody.left - m_scrollX;
        h.right = h.left + width;
        m_pHeader->SetPos(h);
    }
    PlaceVisibleRows();
    Invalidate();
}

int CListUI::GetColumnCount() const
{
    return m_pHeader && m_pHeader->GetCount() > 0 ? m_pHeader->GetCount() : 1;
}

RECT CListUI::GetColumnRect(int col, const RECT& row) const
{
    if (!m_pHeader || m_pHeader->GetCount() == 0)
        return row;
    const CControlUI* item = m_pHeader->GetItemAt(col);
    if (!item)
        return RECT{row.right, row.top, row.right, row.bottom};
    const int origin = m_pHeader->GetPos().left;
    const int shift = row.left - origin;
    return RECT{item->GetPos().left + shift, row.top, item->GetPos().right + shift, row.bottom};
}

void CListUI::RowEvent(CListElementUI* row, TEventUI& event)
{
    if (!IsEnabled() || !row->IsEnabled()) {
        if (event.Type == UIEVENT_SCROLLWHEEL)
            DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
        m_pManager->SendNotify(row, u"itemclick");
        SelectIndex(row->GetIndex(), true);
        return;
    case UIEVENT_DBLCLICK:
        m_pManager->SendNotify(row, u"itemdbclick");
        return;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSEMOVE:
        SetHot(row->GetIndex());
        return;
    case UIEVENT_MOUSELEAVE:
        SetHot(-1);
        return;
    default:
        DoEvent(event);
    }
}

void CListUI::SetHot(int index)
{
    if (index == m_iHot)
        return;
    if (CControlUI* old = ItemAt(m_iHot))
        old->Invalidate();
    m_iHot = index;
    if (CControlUI* now = ItemAt(m_iHot))
        now->Invalidate();
}

void CListUI::Renumber(int from)
{
    for (int i = std::max(from, 0); i < ItemCount(); ++i)
        m_rows[static_cast<size_t>(i)]->SetIndex(i);
}

bool CListUI::AddChild(CControlUI* child)
{
    if (auto* header = dynamic_cast<CListHeaderUI*>(child)) {
        delete m_pHeader;
        m_pHeader = header;
        header->SetManager(m_pManager, this);
        NeedUpdate();
        return true;
    }
    return AppendItem(child);
}

void CListUI::SetManager(CPaintManagerUI* manager, CControlUI* parent)
{
    CControlUI::SetManager(manager, parent);
    if (m_pHeader)
        m_pHeader->SetManager(manager, this);
    m_pVScroll->SetManager(manager, this);
    m_pHScroll->SetManager(manager, this);
    for (CListElementUI* row : m_rows)
        row->SetManager(manager, this);
}

void CListUI::DoInit()
{
    if (m_pHeader)
        m_pHeader->DoInit();
}

int CListUI::RowSlotHeight(int index) const
{
    const CListElementUI* row = m_rows[static_cast<size_t>(index)];
    if (!row->IsVisible())
        return 0;
    const RECT pad = row->GetPadding();
    const int height = row->GetFixedHeight() > 0 ? row->GetFixedHeight() : m_info.nItemHeight;
    return pad.top + height + pad.bottom;
}

void CListUI::RebuildOffsets()
{
    m_offsets.resize(m_rows.size() + 1);
    m_offsets[0] = 0;
    for (int i = 0; i < ItemCount(); ++i)
        m_offsets[static_cast<size_t>(i) + 1] = m_offsets[static_cast<size_t>(i)] + RowSlotHeight(i);
}

RECT CListUI::RowRect(int index) const
{
    const CListElementUI* row = m_rows[static_cast<size_t>(index)];
    const RECT pad = row->GetPadding();
    const int top = m_rcBody.top - m_scrollY + m_offsets[static_cast<size_t>(index)] + pad.top;
    const int height = m_offsets[static_cast<size_t>(index) + 1] - m_offsets[static_cast<size_t>(index)] - pad.top - pad.bottom;
    const int left = m_rcBody.left - m_scrollX;
    return RECT{left + pad.left, top, left + m_contentWidth - pad.right, top + std::max(height, 0)};
}

int CListUI::RowAtOffset(int y) const
{
    // Offsets ascend, so the row is found by halving: cheap for any number of rows.
    const auto it = std::upper_bound(m_offsets.begin(), m_offsets.end(), y);
    return std::max(static_cast<int>(it - m_offsets.begin()) - 1, 0);
}

void CListUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    RebuildOffsets();
    RECT inner{rc.left + m_rcInset.left + m_nBorderSize, rc.top + m_rcInset.top + m_nBorderSize,
               rc.right - m_rcInset.right - m_nBorderSize, rc.bottom - m_rcInset.bottom - m_nBorderSize};
    if (inner.right < inner.left)
        inner.right = inner.left;
    if (inner.bottom < inner.top)
        inner.bottom = inner.top;

    int headerHeight = 0;
    if (m_pHeader && !m_bHeaderHidden && m_pHeader->IsVisible())
        headerHeight = m_pHeader->EstimateSize({inner.width(), inner.height()}).cy;
    m_rcBody = RECT{inner.left, inner.top + headerHeight, inner.right, inner.bottom};

    // Columns of fixed width make the rows as wide as their sum; a single free
    // column is as wide as its longest text, so that a horizontal bar can show it.
    int columnsWidth = 0;
    if (m_pHeader) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i)
            columnsWidth += m_pHeader->GetItemAt(i)->GetFixedWidth();
    }
    if (m_bHScrollEnabled && columnsWidth == 0 && GetColumnCount() == 1)
        columnsWidth = WidestRowText();
    // Each bar takes room from the other direction, so one may call for the other.
    const int total = m_offsets.back();
    bool needV = m_bVScrollEnabled && total > m_rcBody.height();
    const int widthWithV = m_rcBody.width() - m_pVScroll->GetThickness();
    const bool needH = m_bHScrollEnabled && columnsWidth > (needV ? widthWithV : m_rcBody.width());
    if (needH && !needV && m_bVScrollEnabled && total > m_rcBody.height() - m_pHScroll->GetThickness())
        needV = true;
    if (needV)
        m_rcBody.right = std::max(m_rcBody.right - m_pVScroll->GetThickness(), m_rcBody.left);
    if (needH)
        m_rcBody.bottom = std::max(m_rcBody.bottom - m_pHScroll->GetThickness(), m_rcBody.top);
    m_contentWidth = std::max(columnsWidth, m_rcBody.width());

    m_pVScroll->SetVisible(needV);
    m_pHScroll->SetVisible(needH);
    const SIZE range = GetScrollRange();
    m_scrollX = std::clamp(m_scrollX, 0, range.cx);
    m_scrollY = std::clamp(m_scrollY, 0, range.cy);
    if (m_pHeader) {
        // A hidden header is still laid out: its items give the column widths.
        m_pHeader->SetPos(RECT{m_rcBody.left - m_scrollX, inner.top, m_rcBody.left - m_scrollX + m_contentWidth,
                               inner.top + (headerHeight ? headerHeight : 24)});
    }
    PlaceScrollBars();
    PlaceVisibleRows();
    Invalidate();
}

int CListUI::WidestRowText() const
{
    // Each row is measured once, and again only when its text changes: a layout of
    // many thousand rows then costs a pass over numbers, not over texts.
    const QFontMetrics metrics(FontFor(m_info.nFont));
    int widest = 0;
    for (CListElementUI* row : m_rows) {
        if (!row->IsVisible())
            continue;
        if (row->GetMeasuredWidth() < 0)
            row->SetMeasuredWidth(metrics.horizontalAdvance(row->GetCellText(0).toQString()));
        const RECT pad = row->GetPadding();
        widest = std::max(widest, row->GetMeasuredWidth() + pad.left + pad.right);
    }
    // A pixel to spare keeps the last glyph clear of the ellipsis.
    return widest > 0 ? widest + m_info.rcTextPadding.left + m_info.rcTextPadding.right + 1 : 0;
}

void CListUI::PlaceVisibleRows()
{
    if (ItemCount() == 0 || m_rcBody.isEmpty())
        return;
    for (int i = RowAtOffset(m_scrollY); i < ItemCount(); ++i) {
        const RECT rc = RowRect(i);
        if (rc.top >= m_rcBody.bottom)
            break;
        m_rows[static_cast<size_t>(i)]->PlaceQuietly(rc);
    }
}

void CListUI::PlaceScrollBars()
{
    const SIZE range = GetScrollRange();
    if (m_pVScroll->IsVisible()) {
        m_pVScroll->SetPos(RECT{m_rcBody.right, m_rcBody.top, m_rcBody.right + m_pVScroll->GetThickness(), m_rcBody.bottom});
        m_pVScroll->SetScrollRange(range.cy, m_rcBody.height());
        m_pVScroll->SetLineSize(m_info.nItemHeight);
        m_pVScroll->SetScrollPos(m_scrollY);
    }
    if (m_pHScroll->IsVisible()) {
        m_pHScroll->SetPos(RECT{m_rcBody.left, m_rcBody.bottom, m_rcBody.right, m_rcBody.bottom + m_pHScroll->GetThickness()});
        m_pHScroll->SetScrollRange(range.cx, m_rcBody.width());
        m_pHScroll->SetScrollPos(m_scrollX);
    }
}

void CListUI::SetAttribute(const QString& name, const QString& value)
{
    if (m_info.apply(name, value))
        return;
    const QString n = name.toLower();
    if (n == u"header")
        m_bHeaderHidden = value.compare(u"hidden", Qt::CaseInsensitive) == 0;
    else if (n == u"vscrollbar")
        m_bVScrollEnabled = parseBool(value);
    else if (n == u"hscrollbar")
        m_bHScrollEnabled = parseBool(value);
    else if (n == u"vscrollbarstyle")
        m_pVScroll->ApplyAttributeList(value);
    else if (n == u"hscrollbarstyle")
        m_pHScroll->ApplyAttributeList(value);
    else if (n == u"inset")
        m_rcInset = parseRect(value);
    else
        CControlUI::SetAttribute(name, value);
}

CControlUI* CListUI::FindControlAt(POINT pt)
{
    if (!IsVisible() || !m_rcItem.contains(pt))
        return nullptr;
    for (CScrollBarUI* bar : {m_pVScroll, m_pHScroll}) {
        if (CControlUI* hit = bar->FindControlAt(pt))
            return hit;
    }
    if (m_pHeader && !m_bHeaderHidden) {
        if (CControlUI* hit = m_pHeader->FindControlAt(pt))
            return hit;
    }
    if (m_rcBody.contains(pt) && ItemCount() > 0) {
        const int index = RowAtOffset(pt.y - m_rcBody.top + m_scrollY);
        if (index < ItemCount()) {
            CListElementUI* row = m_rows[static_cast<size_t>(index)];
            row->PlaceQuietly(RowRect(index));
            if (row->IsVisible() && row->GetPos().contains(pt))
                return row;
        }
    }
    return m_bMouseEnabled ? this : nullptr;
}

bool CListUI::Visit(const std::function<bool(CControlUI*)>& f)
{
    if (!f(this))
        return false;
    if (m_pHeader && !m_pHeader->Visit(f))
        return false;
    for (CListElementUI* row : m_rows) {
        if (!f(row))
            return false;
    }
    return true;
}

void CListUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEVENT_SCROLLWHEEL: {
        const int delta = static_cast<int>(static_cast<std::intptr_t>(event.wParam));
        SetScrollPos({m_scrollX, m_scrollY - (delta / 120) * 3 * m_info.nItemHeight});
        return;
    }
    case UIEVENT_KEYDOWN: {
        const int page = std::max(m_rcBody.height() / std::max(m_info.nItemHeight, 1), 1);
        int target = m_iCurSel;
        switch (event.wParam) {
        case VK_UP: target = std::max(m_iCurSel - 1, 0); break;
        case VK_DOWN: target = std::min(m_iCurSel + 1, ItemCount() - 1); break;
        case VK_HOME: target = 0; break;
        case VK_END: target = ItemCount() - 1; break;
        case VK_PRIOR: target = std::max(m_iCurSel - page, 0); break;
        case VK_NEXT: target = std::min(m_iCurSel + page, ItemCount() - 1); break;
        case VK_LEFT:
        case VK_RIGHT:
            SetScrollPos({m_scrollX + (event.wParam == VK_LEFT ? -1 : 1) * m_info.nItemHeight, m_scrollY});
            return;
        default: return;
        }
        if (ItemCount() > 0)
            SelectIndex(target);
        return;
    }
    case UIEVENT_MOUSELEAVE:
        SetHot(-1);
        return;
    default:
        CControlUI::DoEvent(event);
    }
}

void CListUI::DoPaint(QPainter& p, const RECT& dirty)
{
    PaintBkColor(p);
    PaintBkImage(p);
    p.save();
    const RECT clip{std::max(m_rcBody.left, dirty.left), std::max(m_rcBody.top, dirty.top),
                    std::min(m_rcBody.right, dirty.right), std::min(m_rcBody.bottom, dirty.bottom)};
    if (!clip.isEmpty() && ItemCount() > 0) {
        p.setClipRect(QRect(clip.left, clip.top, clip.width(), clip.height()), Qt::IntersectClip);
        for (int i = RowAtOffset(clip.top - m_rcBody.top + m_scrollY); i < ItemCount(); ++i) {
            CListElementUI* row = m_rows[static_cast<size_t>(i)];
            const RECT rc = RowRect(i);
            if (rc.top >= clip.bottom)
                break;
            if (!row->IsVisible())
                continue;
            row->PlaceQuietly(rc);
            row->DoPaint(p, dirty);
        }
    }
    p.restore();
    if (m_pHeader && !m_bHeaderHidden && m_pHeader->IsVisible()) {
        p.save();
        p.setClipRect(QRect(m_rcBody.left, m_rcItem.top, m_rcBody.width(), m_rcBody.top - m_rcItem.top), Qt::IntersectClip);
        m_pHeader->DoPaint(p, dirty);
        p.restore();
    }
    for (CScrollBarUI* bar : {m_pVScroll, m_pHScroll}) {
        if (bar->IsVisible())
            bar->DoPaint(p, dirty);
    }
    PaintBorder(p);
}
