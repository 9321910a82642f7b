#include "CLinearLayoutUI.h"

#include <algorithm>

namespace {

// The layout works along a main axis and across it; these views let one algorithm
// serve rows and columns.
struct Axis {
    bool vertical;
    int along(SIZE s) const { return vertical ? s.cy : s.cx; }
    int across(SIZE s) const { return vertical ? s.cx : s.cy; }
    int padBefore(const RECT& r) const { return vertical ? r.top : r.left; }
    int padAfter(const RECT& r) const { return vertical ? r.bottom : r.right; }
    int crossBefore(const RECT& r) const { return vertical ? r.left : r.top; }
    int crossAfter(const RECT& r) const { return vertical ? r.right : r.bottom; }
    int minAlong(const CControlUI* c) const { return vertical ? c->GetMinHeight() : c->GetMinWidth(); }
    int maxAlong(const CControlUI* c) const { return vertical ? c->GetMaxHeight() : c->GetMaxWidth(); }
    int minAcross(const CControlUI* c) const { return vertical ? c->GetMinWidth() : c->GetMinHeight(); }
    int maxAcross(const CControlUI* c) const { return vertical ? c->GetMaxWidth() : c->GetMaxHeight(); }
    RECT make(int alongStart, int alongLen, int crossStart, int crossLen) const
    {
        return vertical ? RECT{crossStart, alongStart, crossStart + crossLen, alongStart + alongLen}
                        : RECT{alongStart, crossStart, alongStart + alongLen, crossStart + crossLen};
    }
};

} // namespace

void CLinearLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT inner = InnerRect(m_rcItem);
    const Axis axis{m_bVertical};
    const int space = m_bVertical ? inner.height() : inner.width();
    const int crossSpace = m_bVertical ? inner.width() : inner.height();
    const SIZE available{inner.width(), inner.height()};

    std::vector<CControlUI*> laid;
    std::vector<SIZE> wanted;
    int fixedTotal = 0;
    int flexible = 0;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible())
            continue;
        if (item->IsFloat()) {
            PlaceFloat(item, m_rcItem);
            continue;
        }
        const SIZE sz = item->EstimateSize(available);
        const RECT pad = item->GetPadding();
        fixedTotal += axis.padBefore(pad) + axis.padAfter(pad);
        if (axis.along(sz) == 0)
            ++flexible;
        else
            fixedTotal += std::clamp(axis.along(sz), axis.minAlong(item), std::max(axis.minAlong(item), axis.maxAlong(item)));
        laid.push_back(item);
        wanted.push_back(sz);
    }
    if (laid.empty())
        return;
    fixedTotal += (static_cast<int>(laid.size()) - 1) * m_iChildPadding;
    const int free = std::max(space - fixedTotal, 0);
    const int share = flexible > 0 ? free / flexible : 0;
    int remainder = flexible > 0 ? free - share * flexible : 0;

    int pos = m_bVertical ? inner.top : inner.left;
    const int crossStart = m_bVertical ? inner.left : inner.top;
    for (size_t i = 0; i < laid.size(); ++i) {
        CControlUI* item = laid[i];
        const RECT pad = item->GetPadding();
        pos += axis.padBefore(pad);
        int len = axis.along(wanted[i]);
        if (len == 0) {
            len = share;
            // The last flexible child takes what integer division left over.
            if (--flexible == 0)
                len += remainder, remainder = 0;
        }
        len = std::clamp(len, axis.minAlong(item), std::max(axis.minAlong(item), axis.maxAlong(item)));
        const int crossRoom = crossSpace - axis.crossBefore(pad) - axis.crossAfter(pad);
        int cross = axis.across(wanted[i]);
        if (cross == 0 || cross > crossRoom)
            cross = crossRoom;
        cross = std::clamp(cross, axis.minAcross(item), std::max(axis.minAcross(item), axis.maxAcross(item)));
        item->SetPos(axis.make(pos, len, crossStart + axis.crossBefore(pad), std::max(cross, 0)));
        pos += len + axis.padAfter(pad) + m_iChildPadding;
    }
}
