#pragma once
// Children in one row or one column: fixed sizes are kept, the rest of the space is
// shared equally by the flexible ones; padding keeps space around each child.
#include "CContainerUI.h"

class CLinearLayoutUI : public CContainerUI {
public:
    explicit CLinearLayoutUI(bool vertical) : m_bVertical(vertical) {}
    void SetPos(RECT rc) override;

private:
    // Gives the flexible children (length -1) their part of free space.
    static void ShareFreeSpace(const std::vector<CControlUI*>& items, std::vector<int>& lengths, int free, bool vertical);
    bool m_bVertical;
};

class CVerticalLayoutUI final : public CLinearLayoutUI {
public:
    CVerticalLayoutUI() : CLinearLayoutUI(true) {}
    const char16_t* GetClass() const override { return u"VerticalLayoutUI"; }
};

class CHorizontalLayoutUI final : public CLinearLayoutUI {
public:
    CHorizontalLayoutUI() : CLinearLayoutUI(false) {}
    const char16_t* GetClass() const override { return u"HorizontalLayoutUI"; }
};
