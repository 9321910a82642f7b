#pragma once
// Pages on top of each other; only the selected one is visible.
#include "CContainerUI.h"

class CTabLayoutUI final : public CContainerUI {
public:
    const char16_t* GetClass() const override { return u"TabLayoutUI"; }
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    int GetCurSel() const { return m_iCurSel; }
    // Shows page index and sends "tabselect"; false for an index out of range.
    bool SelectItem(int index);
    void SetAttribute(const QString& name, const QString& value) override;

private:
    void ShowOnly(int index);
    int m_iCurSel = 0;
};
