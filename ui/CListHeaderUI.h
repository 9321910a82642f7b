#pragma once
// The column header of a list: a row of header items whose widths make the columns.
#include "CButtonUI.h"
#include "CLinearLayoutUI.h"

class CListHeaderItemUI final : public CButtonUI {
public:
    const char16_t* GetClass() const override { return u"ListHeaderItemUI"; }
    // A click on a column header says "headerclick".
    bool Activate() override;
};

class CListHeaderUI final : public CLinearLayoutUI {
public:
    CListHeaderUI() : CLinearLayoutUI(false) {}
    const char16_t* GetClass() const override { return u"ListHeaderUI"; }
    SIZE EstimateSize(SIZE available) override;
};
