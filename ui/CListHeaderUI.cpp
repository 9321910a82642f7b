#include "CListHeaderUI.h"

bool CListHeaderItemUI::Activate()
{
    if (!IsVisible() || !IsEnabled())
        return false;
    Notify(u"headerclick");
    return true;
}

SIZE CListHeaderUI::EstimateSize(SIZE available)
{
    SIZE sz = CLinearLayoutUI::EstimateSize(available);
    if (sz.cy == 0)
        sz.cy = 24;
    return sz;
}
