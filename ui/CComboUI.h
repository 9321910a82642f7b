#pragma once
// A drop-down choice: shows the selected item's text; a click opens a pop-up list of
// the items, and choosing one sends "itemselect" (wParam new index, lParam old).
#include "CLabelUI.h"
#include "IListOwnerUI.h"
#include "StateImages.h"

#include <QPointer>
#include <vector>

class CListElementUI;

namespace mirado {
class ComboDropDown;
}

class CComboUI final : public CLabelUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;
    const char16_t* GetClass() const override { return u"ComboUI"; }

    int ItemCount() const { return static_cast<int>(m_items.size()); }
    CControlUI* ItemAt(int index) const;
    bool AppendItem(CControlUI* item);
    bool RemoveItemAt(int index);
    void RemoveAllItems();
    int SelectedIndex() const override { return m_iCurSel; }
    bool SelectIndex(int index, bool takeFocus = false) override;
    CDuiString GetText() const override;

    void ShowDropDown();
    void CloseDropDown();
    // The open drop-down, or null.
    QWidget* GetDropDown() const;
    // Where item index lies inside the drop-down.
    RECT GetDropItemRect(int index) const;
    int GetDropItemHeight(int index) const;
    SIZE GetDropBoxSize() const { return m_szDropBox; }
    void SetHotIndex(int index);

    const TListInfoUI& GetListInfo() const override { return m_info; }
    int GetHotIndex() const override { return m_iHot; }
    IListCallbackUI* GetTextSource() const override { return nullptr; }
    int GetColumnCount() const override { return 1; }
    RECT GetColumnRect(int, const RECT& row) const override { return row; }
    void RowEvent(CListElementUI* row, TEventUI& event) override;

    bool WantsFocus() const override { return true; }
    bool AddChild(CControlUI* child) override { return AppendItem(child); }
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void SetAttribute(const QString& name, const QString& value) override;
    bool Visit(const std::function<bool(CControlUI*)>& f) override;
    void DoEvent(TEventUI& event) override;

protected:
    void PaintStatusImage(QPainter& p) override;
    void PaintText(QPainter& p) override;

private:
    std::vector<CListElementUI*> m_items;
    QPointer<mirado::ComboDropDown> m_dropDown;
    TListInfoUI m_info;
    SIZE m_szDropBox{0, 150};
    int m_iCurSel = -1;
    int m_iHot = -1;
    mirado::StateImages m_images;
};
