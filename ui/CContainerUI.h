#pragma once
// A control that holds and owns others. Children are placed by the subclasses;
// a plain container gives every child its whole inner rectangle.
#include "CControlUI.h"

#include <vector>

class CContainerUI : public CControlUI {
public:
    ~CContainerUI() override;
    const char16_t* GetClass() const override;

    virtual bool Add(CControlUI* control);
    bool AddChild(CControlUI* control) override { return Add(control); }
    virtual bool AddAt(CControlUI* control, int index);
    // Removes and deletes.
    virtual bool Remove(CControlUI* control);
    virtual void RemoveAll();
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(CControlUI* control) const;
    int GetCount() const { return static_cast<int>(m_items.size()); }

    RECT GetInset() const { return m_rcInset; }
    void SetInset(RECT rc);
    int GetChildPadding() const { return m_iChildPadding; }
    void SetChildPadding(int padding);

    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible) override;
    void SetPos(RECT rc) override;
    void SetAttribute(const QString& name, const QString& value) override;
    CControlUI* FindControlAt(POINT pt) override;
    bool Visit(const std::function<bool(CControlUI*)>& f) override;
    void DoPaint(QPainter& p, const RECT& dirty) override;
    void DoInit() override;

protected:
    // The rectangle inside the inset (and border).
    RECT InnerRect(RECT rc) const;
    // Places the visible float children by their "pos" relative to the container and
    // returns the other visible children, in order, for the layout to place.
    std::vector<CControlUI*> PlaceFloatChildren();
    std::vector<CControlUI*> m_items;
    RECT m_rcInset{};
    int m_iChildPadding = 0;
};
