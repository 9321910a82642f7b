#pragma once
// One row of a list or combo. Rows are painted by their owner's rules, never given
// widgets of their own, so lists of many thousand rows stay light.
#include "CControlUI.h"

class IListOwnerUI;

class CListElementUI : public CControlUI {
public:
    const char16_t* GetClass() const override { return u"ListElementUI"; }
    IListOwnerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(IListOwnerUI* owner) { m_pOwner = owner; }
    int GetIndex() const { return m_iIndex; }
    void SetIndex(int index) { m_iIndex = index; }
    bool IsSelected() const;
    // Moves the row without asking for a repaint (its owner paints it right after).
    void PlaceQuietly(const RECT& rc) { m_rcItem = rc; }
    // Text of one column.
    virtual CDuiString GetCellText(int col);
    void SetText(const CDuiString& text) override;

    // Width of the first column's text as its list last measured it; -1 until then
    // and again after the text changes.
    int GetMeasuredWidth() const { return m_measuredWidth; }
    void SetMeasuredWidth(int width) { m_measuredWidth = width; }

    // The skin marked this row selected="true": it is the starting selection.
    bool IsInitiallySelected() const { return m_bInitiallySelected; }

    void SetAttribute(const QString& name, const QString& value) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(QPainter& p, const RECT& dirty) override;

protected:
    IListOwnerUI* m_pOwner = nullptr;
    int m_iIndex = -1;
    bool m_bInitiallySelected = false;
    int m_measuredWidth = -1;
};

// A row with one text.
class CListLabelElementUI : public CListElementUI {
public:
    const char16_t* GetClass() const override { return u"ListLabelElementUI"; }
};

// A row with a text per column; when its list has a text source, the source is asked.
class CListTextElementUI final : public CListLabelElementUI {
public:
    const char16_t* GetClass() const override { return u"ListTextElementUI"; }
    void SetText(int col, const CDuiString& text);
    using CListLabelElementUI::SetText;
    CDuiString GetCellText(int col) override;

private:
    std::vector<CDuiString> m_texts;
};
