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

    const std::vector<CControlUI*> laid = PlaceFloatChildren();
    std::vector<SIZE> wanted;
    std::vector<int> lengths; // along the axis; -1 while a flexible child waits for its share
    int used = 0;
    for (CControlUI* item : laid) {
        const SIZE sz = item->EstimateSize(available);
        const RECT pad = item->GetPadding();
        used += axis.padBefore(pad) + axis.padAfter(pad);
        int len = -1;
        if (axis.along(sz) != 0) {
            len = std::clamp(axis.along(sz), axis.minAlong(item), std::max(axis.minAlong(item), axis.maxAlong(item)));
            used += len;
        }
        wanted.push_back(sz);
        lengths.push_back(len);
    }
    if (laid.empty())
        return;
    used += (static_cast<int>(laid.size()) - 1) * m_iChildPadding;
    ShareFreeSpace(laid, lengths, space - used, axis.vertical);

    int pos = m_bVertical ? inner.top : inner.left;
    const int crossStart = m_bVertical ? inner.left : inner.top;
    for (size_t i = 0; i < laid.size(); ++i) {
        CControlUI* item = laid[i];
        const RECT pad = item->GetPadding();
        pos += axis.padBefore(pad);
        const int len = lengths[i];
        const int crossRoom = crossSpace - axis.crossBefore(pad) - axis.crossAfter(pad);
        int cross = axis.across(wanted[i]);
        if (cross == 0 || cross > crossRoom)
            cross = crossRoom;
        cross = std::clamp(cross, axis.minAcross(item), std::max(axis.minAcross(item), axis.maxAcross(item)));
        item->SetPos(axis.make(pos, len, crossStart + axis.crossBefore(pad), std::max(cross, 0)));
        pos += len + axis.padAfter(pad) + m_iChildPadding;
    }
}

void CLinearLayoutUI::ShareFreeSpace(const std::vector<CControlUI*>& items, std::vector<int>& lengths, int free, bool vertical)
{
    const Axis axis{vertical};
    // Equal shares, except that a child whose share breaks its minimum or maximum
    // keeps that limit and the others share what is left; repeated until all fit.
    // Minimums go first: what they take may leave no share above any maximum.
    for (;;) {
        int waiting = 0;
        for (int len : lengths)
            waiting += len < 0 ? 1 : 0;
        if (waiting == 0)
            return;
        const int share = std::max(free, 0) / waiting;
        bool limited = false;
        for (bool minimums : {true, false}) {
            for (size_t i = 0; i < items.size(); ++i) {
                if (lengths[i] >= 0)
                    continue;
                const int lo = axis.minAlong(items[i]);
                const int hi = std::max(lo, axis.maxAlong(items[i]));
                if (minimums ? share < lo : share > hi) {
                    lengths[i] = minimums ? lo : hi;
                    free -= lengths[i];
                    limited = true;
                }
            }
            if (limited)
                break;
        }
        if (limited)
            continue;
        // The last flexible child takes what integer division left over.
        int remainder = std::max(free, 0) - share * waiting;
        for (size_t i = items.size(); i-- > 0;) {
            if (lengths[i] < 0) {
                lengths[i] = share + remainder;
                remainder = 0;
            }
        }
        return;
    }
}
