#pragma once
// What a row needs from the list or combo that holds it.
#include "TEventUI.h"
#include "TNotifyUI.h"
#include "TListInfoUI.h"

class CListElementUI;

class IListOwnerUI {
public:
    virtual ~IListOwnerUI() = default;
    virtual const TListInfoUI& GetListInfo() const = 0;
    virtual int SelectedIndex() const = 0;
    virtual bool SelectIndex(int index, bool takeFocus = false) = 0;
    virtual int GetHotIndex() const = 0;
    virtual IListCallbackUI* GetTextSource() const = 0;
    virtual int GetColumnCount() const = 0;
    // The part of a row's rectangle that column col occupies.
    virtual RECT GetColumnRect(int col, const RECT& row) const = 0;
    // Mouse input that reached a row.
    virtual void RowEvent(CListElementUI* row, TEventUI& event) = 0;
};
