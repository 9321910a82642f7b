#pragma once
// A list of rows with an optional column header and scroll bars. Rows are
// CListElementUI controls owned by the list; only the rows in view are placed and
// painted, so tens of thousands of rows scroll smoothly. A click selects a row
// ("itemclick" from the row, then "itemselect" from the list when the selection
// changes), a double click sends "itemdbclick" from the row.
#include "CControlUI.h"
#include "IListOwnerUI.h"

#include <vector>

class CListElementUI;
class CListHeaderUI;
class CScrollBarUI;

class CListUI final : public CControlUI, public IListOwnerUI {
public:
    CListUI();
    ~CListUI() override;
    const char16_t* GetClass() const override { return u"ListUI"; }

    int ItemCount() const { return static_cast<int>(m_rows.size()); }
    // Null when index is out of range.
    CControlUI* ItemAt(int index) const;
    // Takes ownership of a row (a CListElementUI); false, and not taken, for anything else.
    bool AppendItem(CControlUI* row);
    bool InsertItemAt(CControlUI* row, int index);
    // Deletes the row; a selected row passes its selection to the row that takes its place.
    bool RemoveItemAt(int index);
    void RemoveAllItems();
    int SelectedIndex() const override { return m_iCurSel; }
    // Selects a row (or none for -1), scrolls it into view and sends "itemselect".
    bool SelectIndex(int index, bool takeFocus = false) override;
    void EnsureVisible(int index);

    void SetTextSource(IListCallbackUI* source);
    // What the text source answers has changed: rows are measured and painted afresh.
    void TextsChanged();
    IListCallbackUI* GetTextSource() const override { return m_pTextSource; }
    CListHeaderUI* GetHeader() const { return m_pHeader; }
    CScrollBarUI* GetVerticalScrollBar() const { return m_pVScroll; }
    CScrollBarUI* GetHorizontalScrollBar() const { return m_pHScroll; }
    SIZE GetScrollPos() const { return {m_scrollX, m_scrollY}; }
    void SetScrollPos(SIZE pos);
    SIZE GetScrollRange() const;

    const TListInfoUI& GetListInfo() const override { return m_info; }
    int GetHotIndex() const override { return m_iHot; }
    int GetColumnCount() const override;
    RECT GetColumnRect(int col, const RECT& row) const override;
    void RowEvent(CListElementUI* row, TEventUI& event) override;

    bool WantsFocus() const override { return true; }
    bool AddChild(CControlUI* child) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void SetPos(RECT rc) override;
    void SetAttribute(const QString& name, const QString& value) override;
    CControlUI* FindControlAt(POINT pt) override;
    bool Visit(const std::function<bool(CControlUI*)>& f) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(QPainter& p, const RECT& dirty) override;
    void DoInit() override;

private:
    int RowSlotHeight(int index) const;
    RECT RowRect(int index) const;
    // First row whose slot reaches below content offset y.
    int RowAtOffset(int y) const;
    void RebuildOffsets();
    // Width of the longest first-column text with its paddings.
    int WidestRowText() const;
    void PlaceScrollBars();
    // Gives the rows in view their current rectangles (rows out of view keep old ones).
    void PlaceVisibleRows();
    void SetHot(int index);
    void Renumber(int from);

    std::vector<CListElementUI*> m_rows;
    std::vector<int> m_offsets; // m_offsets[i]: top of row i's slot in the content; back(): total height
    CListHeaderUI* m_pHeader = nullptr;
    CScrollBarUI* m_pVScroll = nullptr;
    CScrollBarUI* m_pHScroll = nullptr;
    bool m_bHeaderHidden = false;
    bool m_bVScrollEnabled = false;
    bool m_bHScrollEnabled = false;
    IListCallbackUI* m_pTextSource = nullptr;
    TListInfoUI m_info;
    RECT m_rcInset{};
    RECT m_rcBody{};
    int m_contentWidth = 0;
    int m_scrollX = 0;
    int m_scrollY = 0;
    int m_iCurSel = -1;
    int m_iHot = -1;
};
